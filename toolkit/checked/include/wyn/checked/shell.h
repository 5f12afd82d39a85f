/* Checked calls on a window's native frame (the top-level window holding it): its icon, its
   minimised and maximised states, the user's attention and the platform's focus; and the dialog
   font's base units. A null, destroyed or wrongly typed window is reported and gives the failure
   value named below; calls that change the screen are refused while an E_UPDATE is processed. */
#pragma once

#include <wyn/shell.h>

WYN_BEGIN_C

/* Shows icon resource name (case ignored) as the frame's icon and repaints the frame; FALSE on
   a fault, a null name or when there is no such icon. */
BOOLEAN wyn_win_set_icon(WINDOW win, const char* name);
/* TRUE when the frame is minimised; FALSE on a fault. */
BOOLEAN wyn_win_is_minimized(WINDOW win);
/* invert TRUE asks for the user's attention, FALSE returns the frame to its normal state; TRUE
   when the frame was active before, FALSE also on a fault. */
BOOLEAN wyn_win_flash(WINDOW win, BOOLEAN invert);
/* Maximises the frame. */
void wyn_win_maximize(WINDOW win);
/* Restores (when minimised), raises and activates the frame. */
void wyn_win_focus_native(WINDOW win);
/* The dialog font's average character width and height in pixels; both pointers are needed. */
void wyn_scr_get_dialog_units(int32_t* width, int32_t* height);

WYN_END_C
