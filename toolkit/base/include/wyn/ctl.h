/* Controls (buttons, check boxes, scroll bars, edits, lists, texts, group boxes, icons) and the
   operations every window object shares: title, visibility, placement, focus, caret, cursor and
   the pointer trap. */
#pragma once

#include <wyn/slist.h>
#include <wyn/win.h>
#include <wyn/windef.h>

WYN_BEGIN_C

/* Cursor numbers of wynk_win_set_cursor; other numbers name a cursor resource. */
enum { CURSOR_ARROW = 0, CURSOR_IBEAM = 1, CURSOR_CROSS = 3, CURSOR_WAIT = 4, CURSOR_HELP = 5 };

/* Object flags reported by wynk_vobj_get_flags, besides the creation flags. */
#define VOBJ_FLAG_VISIBLE 0x10000u
#define VOBJ_FLAG_ENABLED 0x20000u

/* Creates the control that entry def describes (rectangle in its units) inside parent; null
   when the type is not a control type or the parent has no drawable area. */
WYN_EXPORT WINDOW wynk_ctl_create_def(const WIN_DEF* def, WINDOW parent, intptr_t app_data);

/* Creates a control of type with rectangle rct in pixels, label title, id and control flags
   (CTL_FLAG_*) inside parent; null on failure. */
WYN_EXPORT WINDOW wynk_ctl_create(int32_t type, const RCT* rct, const char* title, int16_t id,
                                  WINDOW parent, uint32_t ctl_flags, intptr_t app_data);

/* The control of win whose id is id, or null. */
WYN_EXPORT WINDOW wynk_win_get_ctl(WINDOW win, int16_t id);

/* The id of control ctl (0 for an object that is not a control). */
WYN_EXPORT int16_t wynk_ctl_get_id(WINDOW ctl);

/* TRUE when the radio button or check box ctl is checked. */
WYN_EXPORT BOOLEAN wynk_ctl_is_checked(WINDOW ctl);

/* Checks or clears a radio button or check box; clicking never changes it by itself. */
WYN_EXPORT void wynk_ctl_set_checked(WINDOW ctl, BOOLEAN checked);

/* Checks ctl and clears the other count radio buttons of group (win is their window). */
WYN_EXPORT void wynk_ctl_check_radio_button(WINDOW win, WINDOW ctl, const WINDOW* group,
                                            int32_t count);

/* Selects bytes first..last-1 of an edit or list edit's text (last -1: to the end). */
WYN_EXPORT void wynk_ctl_set_text_sel(WINDOW ctl, int32_t first, int32_t last);

/* Reads the selection of an edit or list edit as byte offsets into *first and *last. */
WYN_EXPORT void wynk_ctl_get_text_sel(WINDOW ctl, int32_t* first, int32_t* last);

/* The font and colour table of a control, and those a window gives its controls; the objects
   stay the caller's. */
WYN_EXPORT void wynk_ctl_set_font(WINDOW ctl, struct wyn_font* font);
WYN_EXPORT struct wyn_font* wynk_ctl_get_font(WINDOW ctl);
WYN_EXPORT void wynk_ctl_set_colors(WINDOW ctl, COLOR* colors);
WYN_EXPORT COLOR* wynk_ctl_get_colors(WINDOW ctl);
WYN_EXPORT void wynk_win_set_ctl_font(WINDOW win, struct wyn_font* font);
WYN_EXPORT struct wyn_font* wynk_win_get_ctl_font(WINDOW win);
WYN_EXPORT void wynk_win_set_ctl_colors(WINDOW win, COLOR* colors);
WYN_EXPORT COLOR* wynk_win_get_ctl_colors(WINDOW win);

/* Copies the title of win (a list edit's or edit's text) into buf of size bytes, terminated;
   returns buf, or null when win has no native window or size < 1. */
WYN_EXPORT char* wynk_vobj_get_title(WINDOW win, char* buf, int32_t size);

/* Sets the title of win ("~" marks a control's mnemonic). */
WYN_EXPORT void wynk_vobj_set_title(WINDOW win, const char* title);

/* Shows or hides win. */
WYN_EXPORT void wynk_vobj_set_visible(WINDOW win, BOOLEAN visible);

/* Enables or greys win. */
WYN_EXPORT void wynk_vobj_set_enabled(WINDOW win, BOOLEAN enabled);

/* Moves win so that its client area is rct in pixels (in the parent; on the screen for a
   top-level window). */
WYN_EXPORT void wynk_vobj_move(WINDOW win, const RCT* rct);

/* Brings win to the top of its siblings. */
WYN_EXPORT void wynk_vobj_raise(WINDOW win);

/* The client area of win in its own coordinates (top-left 0, 0). */
WYN_EXPORT RCT* wynk_vobj_get_client_rect(WINDOW win, RCT* rct);

/* The outer rectangle of win, frame included, in its parent's coordinates (the screen's for a
   top-level window). */
WYN_EXPORT RCT* wynk_vobj_get_outer_rect(WINDOW win, RCT* rct);

/* Converts count points from the client coordinates of from to those of to (null: the
   screen). */
WYN_EXPORT void wynk_vobj_translate_points(WINDOW from, WINDOW to, PNT* points, int32_t count);

/* The creation flags of win with VOBJ_FLAG_VISIBLE and VOBJ_FLAG_ENABLED as they are now. */
WYN_EXPORT uint32_t wynk_vobj_get_flags(WINDOW win);

/* TRUE when win can take the keyboard focus (visible, enabled, accepting focus). */
WYN_EXPORT BOOLEAN wynk_vobj_is_focusable(WINDOW win);

/* The object holding the keyboard focus, or null. */
WYN_EXPORT WINDOW wynk_scr_get_focus_vobj(void);

/* The object (control, window or dialog) shown at point where in screen coordinates, or null
   when no toolkit object is there. */
WYN_EXPORT WINDOW wynk_scr_get_vobj_at(PNT where);

/* Gives win the keyboard focus. */
WYN_EXPORT void wynk_scr_set_focus_vobj(WINDOW win);

/* The top-level object whose window is active, or null. */
WYN_EXPORT WINDOW wynv_scr_get_focus_topwin(void);

/* A new list of the top-level objects: their titles, each with the object as data word; free
   it with wynv_slist_destroy. */
WYN_EXPORT SLIST wynv_scr_list_wins(void);

/* A new list of the child objects of win, as wynv_scr_list_wins. */
WYN_EXPORT SLIST wynk_win_list_wins(WINDOW win);

/* Calls fn for every child object of win (every top-level object for the screen window) until
   it returns FALSE. */
typedef BOOLEAN (*WYN_ENUM_FN)(WINDOW win, intptr_t data);
WYN_EXPORT void wynv_win_enum_wins(WINDOW win, WYN_ENUM_FN fn, intptr_t data);

/* The caret of win: its position (client coordinates), size in pixels and visibility. */
WYN_EXPORT void wynk_win_set_caret_pos(WINDOW win, PNT pos);
WYN_EXPORT void wynk_win_set_caret_size(WINDOW win, int16_t width, int16_t height);
WYN_EXPORT void wynk_win_set_caret_visible(WINDOW win, BOOLEAN visible);

/* Sets the cursor of win (CURSOR_* or a cursor resource number); unknown numbers change
   nothing. */
WYN_EXPORT void wynk_win_set_cursor(WINDOW win, int32_t cursor);

/* The cursor number of win. */
WYN_EXPORT int32_t wynk_win_get_cursor(WINDOW win);

/* Shows the hourglass until the events already queued have been processed. */
WYN_EXPORT void wynk_scr_set_busy_cursor(void);

/* Hides the pointer until it moves. */
WYN_EXPORT void wynk_scr_hide_cursor(void);

/* Sends every mouse event to win and repeats the last one as E_MOUSE_MOVE every 50 ms until
   released. */
WYN_EXPORT void wynk_win_trap_pointer(WINDOW win);

/* Ends the pointer trap. */
WYN_EXPORT void wynk_win_release_pointer(void);

WYN_END_C
