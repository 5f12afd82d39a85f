/* Checked control calls: each operation takes the control types it serves (a wrong type is
   reported) and is refused while an E_UPDATE is processed when it changes the control; faults in
   a control's own arguments name the control as the report's target. Faults give null, FALSE,
   or -1 for ids. */
#pragma once

#include <wyn/ctl.h>

WYN_BEGIN_C

/* Creates a control of type (not a text edit) in pixels inside parent; null on a fault. */
WINDOW wyn_ctl_create(int32_t type, const RCT* rct, const char* title, int16_t id, WINDOW parent,
                      uint32_t ctl_flags, intptr_t app_data);
/* Creates the control that entry def describes inside parent; null on a fault. */
WINDOW wyn_ctl_create_def(const WIN_DEF* def, WINDOW parent, intptr_t app_data);
/* The control's id; -1 on a fault. */
int16_t wyn_ctl_get_id(WINDOW ctl);
/* Radio buttons and check boxes. */
BOOLEAN wyn_ctl_is_checked(WINDOW ctl);
/* Checks or clears a radio button or check box. */
void wyn_ctl_set_checked(WINDOW ctl, BOOLEAN checked);
/* Checks ctl and clears the other count radio buttons of group; every member must be a radio
   button. */
void wyn_ctl_check_radio_button(WINDOW win, WINDOW ctl, const WINDOW* group, int32_t count);
/* Edits and list edits; an end before the start is warned about and raised to the start. */
void wyn_ctl_set_text_sel(WINDOW ctl, int32_t first, int32_t last);
/* Reads an edit's or list edit's selection as byte offsets. */
void wyn_ctl_get_text_sel(WINDOW ctl, int32_t* first, int32_t* last);
/* Sets a control's colour table (it stays the caller's). */
void wyn_ctl_set_colors(WINDOW ctl, COLOR* colors);
/* A control's colour table; null on a fault. */
COLOR* wyn_ctl_get_colors(WINDOW ctl);

/* A control's font (null: the window's or the default one); an invalid font is reported. */
void wyn_ctl_set_font(WINDOW ctl, struct wyn_font* font);
/* A control's own font; null on a fault. */
struct wyn_font* wyn_ctl_get_font(WINDOW ctl);

WYN_END_C
