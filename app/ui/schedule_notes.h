// What is scheduled, told in notes, and the question that cancels a scheduled self-test.
#pragma once

// Shows the note of the self-test scheduled in the record in view.
void show_selftest_schedule();

// Shows the note of the shutdown and restart scheduled in the record in view.
void show_shutdown_schedule();

// Asks whether to cancel the scheduled self-test of the record in view, and cancels it on "Yes".
void cancel_selftest_schedule();
