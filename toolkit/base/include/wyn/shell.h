/* What a window's native frame offers beyond drawing: its icon, its minimised and maximised
   states, the user's attention and the platform's focus, and the dialog font's base units. The
   frame meant is the native top-level window that holds win (the task window for a window
   inside it). */
#pragma once

#include <wyn/types.h>

WYN_BEGIN_C

/* Shows icon resource name (case ignored) as the frame's icon and repaints the frame without
   erasing it; FALSE, with the icon unchanged, when win has no frame or there is no such icon
   (reported). */
WYN_EXPORT BOOLEAN wynk_win_set_icon(WINDOW win, const char* name);
/* TRUE when the frame is minimised; FALSE also when win has none. */
WYN_EXPORT BOOLEAN wynk_win_is_minimized(WINDOW win);
/* invert TRUE asks for the user's attention until the frame is activated; FALSE returns the
   frame to its normal, unflashed state. TRUE when the frame was the active window before. */
WYN_EXPORT BOOLEAN wynk_win_flash(WINDOW win, BOOLEAN invert);
/* Maximises the frame; FALSE when win has none. */
WYN_EXPORT BOOLEAN wynk_win_maximize(WINDOW win);
/* Gives the frame the platform's focus: restores it when the window system minimised it,
   raises and activates it; FALSE when win has none. */
WYN_EXPORT BOOLEAN wynk_win_focus_native(WINDOW win);
/* The dialog font's average character width and height in pixels (either pointer may be
   null). */
WYN_EXPORT void wynk_scr_get_dialog_units(int32_t* width, int32_t* height);

WYN_END_C
