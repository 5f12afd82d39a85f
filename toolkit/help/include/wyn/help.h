/* The help library: opens a help file, binds windows, dialogs, controls and menu items to help
   topics, and turns help requests, Help-menu commands and object clicks into topics shown by the
   help viewer. */
#pragma once

#include <wyn/events.h>
#include <wyn/fsys.h>
#include <wyn/windef.h>

WYN_BEGIN_C

/* An opened help file; valid from a successful open until it is closed. */
struct wyn_help_info;
typedef struct wyn_help_info* HELP_INFO;

/* Open flags of wynv_help_open_helpfile, by value. */
#define HELP_OPEN_NO_MENU_ASSOC 0x4u /* do not install the default Help-menu associations */
#define HELP_OPEN_IGNORE_MODAL 0x10u /* show help even where the modal guard would refuse */

/* Kind flags of an association, by value. */
#define HELP_KIND_WINDOW 0x1u
#define HELP_KIND_MENU 0x2u
#define HELP_KIND_CONTROL 0x4u
#define HELP_KIND_DIALOG 0x8u

/* The one help flavor this library provides: topics shown by the platform's help viewer. */
#define HELP_FLAVOR_NATIVE 1

/* Topics the standard Help-menu commands show. */
#define HELP_TOPIC_HELP_ON_HELP 32000
#define HELP_TOPIC_INDEX 32001
#define HELP_TOPIC_CONTENTS 32006

/* Opens the help file of file_spec (a directory and a name; the extension becomes ".hlp").
   A relative name not found beside its directory is looked for in the current directory, then
   in every directory of the environment variables HELP, WYNPATH and PATH (lists split at ":"
   and ";"); a name beginning "/", "\\" or "." or with a drive ("X:") is never searched for. The
   association file beside it (extension ".csa") is read; a bad one leaves the file without file
   associations. Unless flags hold HELP_OPEN_NO_MENU_ASSOC, the standard Help-menu commands are
   associated for every window. The first open of the process installs the library's event hook
   (attribute 710) when the application has none. Null when the file is not found, with nothing
   reported. */
WYN_EXPORT HELP_INFO wynv_help_open_helpfile(const FILE_SPEC* file_spec, uint32_t flags);

/* Quits the viewer for this file, clears the event hook's value when it is this file, and
   releases the handle; FALSE for an invalid handle. */
WYN_EXPORT BOOLEAN wynv_help_close_helpfile(HELP_INFO help);

/* Shows topic (32000 help on help, 32006 contents, any other a topic number) with the busy
   cursor; nothing for an invalid handle or without the utility window. */
WYN_EXPORT void wynv_help_display_topic(HELP_INFO help, int32_t topic);

/* Starts a keyword search for keyword ("" opens the viewer's search); topic is not used. */
WYN_EXPORT void wynv_help_search_topic(HELP_INFO help, int32_t topic, const char* keyword);

/* Binds object (a window, dialog or control) to topic; topic 0 removes the binding. */
WYN_EXPORT void wynv_help_set_win_assoc(HELP_INFO help, WINDOW object, int32_t topic);

/* The topic bound to object, or 0. */
WYN_EXPORT int32_t wynv_help_get_win_assoc(HELP_INFO help, WINDOW object);

/* Binds menu item tag of win (null: of every window) to topic; topic 0 removes the binding.
   A tag not greater than 0 as a signed 16-bit number is reported and refused; extra is not
   used. */
WYN_EXPORT void wynv_help_set_menu_assoc(HELP_INFO help, WINDOW win, int32_t tag, int32_t topic,
                                         intptr_t extra);

/* The topic bound to menu item tag of win exactly (null matches only null), or 0. */
WYN_EXPORT int32_t wynv_help_get_menu_assoc(HELP_INFO help, WINDOW win, int32_t tag);

/* Binds win (resource res_id), its menu items and its controls to the topics the association
   file gives them; def is win's definition, or null to read it from the resources (a control
   needs one). TRUE when associations were made; def stays the caller's. */
WYN_EXPORT BOOLEAN wynv_help_assoc_all(HELP_INFO help, WINDOW win, int32_t res_id,
                                       const WIN_DEF* def);

/* Removes every binding of win: its own, its menu items' and its controls'. */
WYN_EXPORT void wynv_help_disassoc_all(HELP_INFO help, WINDOW win);

/* Starts object-click mode on win: the pointer is trapped to it with the help cursor, and the
   next click shows the topic of the object under the pointer. Refused with a beep on the task
   window unless it is a drawing window (attribute 10006); extra is not used. */
WYN_EXPORT void wynv_help_begin_objclick(HELP_INFO help, WINDOW win, intptr_t extra);

/* Ends object-click mode, releasing the pointer and restoring the window's cursor. */
WYN_EXPORT void wynv_help_end_objclick(HELP_INFO help);

/* Offers event ev of win to help: TRUE when help handled it (a topic shown, a search started,
   object-click mode begun or ended by it), FALSE when it should go on to the window. A destroy
   event removes win's bindings and goes on. */
WYN_EXPORT BOOLEAN wynv_help_process_event(HELP_INFO help, WINDOW win, EVENT* ev);

/* HELP_FLAVOR_NATIVE once a help file has been opened in the process, else 0. */
WYN_EXPORT int32_t wynv_help_get_flavor(void);

/* TRUE when help is a live handle. */
WYN_EXPORT BOOLEAN wynv_help_is_valid_info(HELP_INFO help);

/* Replaces the extension of path by ext (with or without its "."): the result goes to out (256
   bytes) when it is given, else over path (256 bytes); returns where it went. The name is what
   follows the last "/", "\\" or ":"; a result longer than 255 bytes is cut. */
WYN_EXPORT char* helpu_change_extension(char* path, char* out, const char* ext);

WYN_END_C
