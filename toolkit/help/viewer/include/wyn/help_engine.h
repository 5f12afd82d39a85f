/* The help viewer's one entry: the help library hands it every display, search and quit. */
#pragma once

#include <wyn/types.h>

WYN_BEGIN_C

#define WYN_HELP_CONTEXT 1        /* data: topic number */
#define WYN_HELP_QUIT 2           /* data: 0; closes the viewer's window for that file */
#define WYN_HELP_CONTENTS 3       /* data: 0; shows the file's contents topic (32006) */
#define WYN_HELP_HELPONHELP 4     /* data: 0; shows topic 32000, how to use help */
#define WYN_HELP_PARTIALKEY 0x105 /* data: const char* keyword; "" opens the viewer's own search */

/* Carries out one help command on the help file at help_path, in the program's process and on
   the QApplication the toolkit's kernel made; with no such application it does nothing.
   Each help file has one viewer window, made on first use and raised on later commands:
   - CONTEXT shows topic `data`; an unknown topic shows the contents with a note in the status
     line.
   - CONTENTS and HELPONHELP show topics 32006 and 32000.
   - PARTIALKEY with a keyword opens the index at the first keyword that starts with it (case
     ignored) and shows the topic when exactly one topic carries that keyword; with "" or a null
     keyword it opens the search over titles, keywords and text.
   - QUIT closes the file's window, if there is one, without reading the file.
   A file that cannot be read or is damaged gives a message box and no window. `owner` is the
   caller's utility object; it only identifies the caller and may be null. Returns 1 when the
   command was carried out, 0 otherwise (no application, no readable file, unknown command).

   Test seam: when the environment variable WYN_HELP_TRACE names a file, one line is appended to
   it for every command and every topic shown, for example
       context 107 /path/norva.hlp
       shown 107 Set Alarm Thresholds
       contents /path/norva.hlp
       helponhelp /path/norva.hlp
       partialkey "alarms" /path/norva.hlp
       search "" /path/norva.hlp
       quit /path/norva.hlp
   and `failed /path/norva.hlp` when the file cannot be read or is damaged. */
WYN_EXPORT int32_t wynhv_help(void* owner, const char* help_path, uint32_t command, uintptr_t data);

WYN_END_C
