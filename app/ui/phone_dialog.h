// The phone option dialog: whether a call to the UPS reboots it or switches it on.
#pragma once

// Runs the modal phone option dialog (107) on the record in view; false when it could not be made.
bool run_phone_dialog();
