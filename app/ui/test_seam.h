// A seam through which tests watch and drive the running program without a person at the screen.
//
// VOLTSENTRY_TEST_LOG names a file to which the program appends one line per thing it shows:
//   "window <title>"   a window or dialog received its create event
//   "destroy <title>"  a window or dialog received its destroy event
//   "menubar <0|1>"    whether the task window has its menu bar, once set-up has finished
//   "note <text>", "error <text>", "ask <text>"  a standard dialog was posted
//   "toolkit-error <id> <text> (<calls> <unit>:<line>)"  the toolkit reported an error (only
//                      while a script runs)
//   "message <text>"   a text went to the message panel (an empty one clears it)
//   "control <id> enabled <0|1> shown <0|1> checked <0|1> value <n> text <text>"  what an
//                      "inspect" step saw: the bar's position or the list's selected index (-1
//                      for none) as value, the selected entry or the control's title as text;
//                      for a text view its paragraph count and its first paragraph
//   "paragraph <id> <n> <text>"  after a text view's "control" line, its paragraph n (from 0)
//   "file-open <prompt>"  a file-open dialog was posted (scripted: answered by a "file" line)
//   "script-error <line or what>"  a script line that could not be read or carried out
//   "exit <status>"    the program is about to leave
// VOLTSENTRY_TEST_SCRIPT names a file of the user's answers, one per line ('#' starts a comment):
//   "press <control id>"  the next dialog that opens gets a click on that control once it is up
// Steps before a press act on that press's dialog, in order and 50 ms apart once it is up, before
// its click; steps after the last press act on the next dialog that opens, which stays open:
//   "click <id>"          a click on a control (button, check box, radio); the dialog stays open
//   "check <id>", "uncheck <id>"  a click on a check box or radio only when its state differs
//   "set <id> <value>"    moves a value bar to value as a drag of its thumb does (within its range)
//   "scroll <id> <line-up|line-down|page-up|page-down>"  one scroll action on a bar
//   "choose <id> <text>"  selects the list entry of that text (the rest of the line)
//   "type <id> <text>"    replaces an edit field's text with the rest of the line ('#' included)
//   "inspect <id>"        logs the control's state as a "control" line
//   "key <id> <key>"      the key as the focused control gets it (id 0: the window, which hands it
//                         on): up, down, left, right, page-up, page-down, home, end, line-home,
//                         line-end, insert, delete, f1, after any of "ctrl+" and "shift+"; f1
//                         alone in a dialog is the help request the window system makes of it
//                         for the control named (id 0: the dialog's focused control)
// A dialog opened by a step (a modeless dialog from its owner) is the next dialog that opens, and
// takes the next press with its steps.
//   "window <title>"      the steps that follow, up to and with the next press, act on the window or
//                         dialog of that title (the rest of the line) when it opens, instead of on
//                         the next dialog: so a window's controls are worked as a dialog's are
//   "answer <n>"          the next question is answered with its button n (0 the first)
//   "file <path>", "file cancel"  the next file-open dialog chooses that file (relative to the
//                         program's directory) or is cancelled; with none left it counts as
//                         cancelled. Each dialog is logged as "file-open <prompt>".
//   "command <tag>"       once the application is up, the task window receives that menu command
//                         (50 ms after the one before; a modal dialog open, or steps or a
//                         press still to come, hold the next back)
// A press or answer line may end in "after <ms>" (0 to 600000): the dialog, or the question, then
// stays open for that many milliseconds of real time while the program runs on, as it would while
// a person thinks. It may end in "when <text>" instead: the dialog or question then stays open,
// however long it takes, until a message of exactly that text (the rest of the line) has gone to
// the message panel after it opened, and is answered at once after that. A held question is shown as the toolkit's own question dialog and answered
// with a click on its button n (0 to 2); the program's event loop runs all the while.
// VOLTSENTRY_TEST_TIMESCALE=N (1 to 1000), honoured only together with the log, makes the program's
// clock run N times as fast from its start and its poll timer tick N times as often, so that
// minutes of monitoring pass in seconds.
// While a script runs, standard dialogs are never shown but for held questions: notes and errors
// are acknowledged at once, questions take the next answer (or, with none left, count as closed),
// and toolkit errors are only logged.
// Whenever the log or the script is set, the program opens no device but pseudo-terminals and
// never reaches the machine's own power-off.
#pragma once

#include "files/clock.h"

#include <cstdint>
#include <wyn/fsys.h>
#include <wyn/types.h>

// Reads both variables and, when either is set, installs the seam's event hook; call before the
// application is created.
void test_seam_start();

// True while a script answers for the user.
bool test_seam_scripted();

// True when the run is a test: a log or a script is set.
bool test_seam_active();

// The application's clock for this run: the fast clock of VOLTSENTRY_TEST_TIMESCALE, or null for
// the system's clock.
app_clock_source test_seam_clock();

// Appends a line to the test log (nothing without one).
void test_seam_log(const char* kind, const char* text);

// When the script's next answer is held ("answer <n> after <ms>" or "when <text>"), takes it and arranges for the
// next dialog that opens to be answered with button n once its hold is over, and returns true: the
// caller then shows the question for real. False otherwise, and nothing is taken.
bool test_seam_hold_next_answer();

// The scripted answer of the next file-open dialog: 2 with file set to the script's file, 1 for a
// cancel (also when the script has none left).
int16_t test_seam_answer_file_open(FILE_SPEC& file);

// Called when a question shown for real has closed: forgets a held answer it did not use.
void test_seam_question_closed();

// The scripted answer of the next question: 0, 1 or 2 (2 when the script has none left).
int16_t test_seam_next_answer();

// Called once the task window has finished setting up: starts the scripted menu commands.
void test_seam_application_ready(WINDOW task);

// Writes the exit line and closes the log.
void test_seam_finish(int status);
