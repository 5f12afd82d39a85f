/* Windows and dialogs built from definition arrays and from the program's resources. */
#pragma once

#include <wyn/win.h>
#include <wyn/windef.h>

WYN_BEGIN_C

/* Creates the window of entry 0 of def under parent, then each control entry in order (a text
   edit through the text-edit library); the window's E_CREATE comes once its controls exist.
   When a control fails the window is destroyed without any event and null returned. */
WYN_EXPORT WINDOW wynk_win_create_def(WIN_DEF* def, WINDOW parent, EVENT_MASK mask,
                                      EVENT_HANDLER handler, intptr_t app_data);

/* Creates window resource id as wynk_win_create_def does, after checking the parent, the
   window's and each control's flags; null (reported) when the resource is missing. */
WYN_EXPORT WINDOW wynv_win_create_res(int32_t id, WINDOW parent, EVENT_MASK mask,
                                      EVENT_HANDLER handler, intptr_t app_data);
WYN_EXPORT WINDOW wynk_win_create_res(int32_t id, WINDOW parent, EVENT_MASK mask,
                                      EVENT_HANDLER handler, intptr_t app_data);

/* Creates the dialog that def describes (entry 0 of type 10 modal or 11 modeless) over the
   active window; its controls' E_CONTROL events go to its handler. A modal dialog returns once
   it has been destroyed, with its (then invalid) object as the sign of success; a modeless one
   returns its object at once. Null (reported) on failure. */
WYN_EXPORT WINDOW wynk_dlg_create_def(WIN_DEF* def, EVENT_MASK mask, EVENT_HANDLER handler,
                                      intptr_t app_data);

/* As wynk_dlg_create_def for dialog resource id, made modal (type 10) or modeless (11). */
WYN_EXPORT WINDOW wynk_dlg_create_res(int32_t type, int32_t id, EVENT_MASK mask,
                                      EVENT_HANDLER handler, intptr_t app_data);

/* FALSE when flags hold window creation flags this toolkit does not know. */
WYN_EXPORT BOOLEAN wynv_win_check_flags(uint32_t flags);

/* FALSE when ctl_flags hold control flags that do not apply to a control of type. */
WYN_EXPORT BOOLEAN wynv_ctl_check_flags(int32_t type, uint32_t ctl_flags);

WYN_END_C
