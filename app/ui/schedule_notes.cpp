// The schedule notes' sentences, built from the record in view.
#include "ui/schedule_notes.h"

void show_selftest_schedule() {}

void show_shutdown_schedule() {}

void cancel_selftest_schedule() {}
