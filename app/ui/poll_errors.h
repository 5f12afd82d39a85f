// Toolkit errors met inside a poll: logged at once and shown only once the poll is over.
#pragma once

// Installs the application's error handler (a test script may install its own over it later).
void install_poll_error_handler();

// Marks a poll as running for as long as the object lives; errors reported meanwhile are written
// to the event log and standard error and kept back, for a dialog opened inside the poll would
// stop the polls that must see the next power failure.
class poll_error_scope {
  public:
    poll_error_scope();
    ~poll_error_scope();
    poll_error_scope(const poll_error_scope&) = delete;
    poll_error_scope& operator=(const poll_error_scope&) = delete;
};

// Shows the errors kept back by the polls so far, one error dialog each, outside any poll.
void show_poll_errors();
