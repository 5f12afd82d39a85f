// What the monitor engine asks of the windows: the poll timer, redraws, the icon and the end.
#pragma once

// Filled in by the windows (and by recording fakes in tests); the engine never sees the toolkit,
// nor the windows' handles or the timer's id.
class monitor_host {
  public:
    virtual ~monitor_host() = default;

    // Starts the poll timer with this period on the status window; the one running before is
    // stopped only once the new one exists. False when it could not be made (the old one, if any,
    // then keeps running).
    virtual bool start_poll_timer(int milliseconds) = 0;

    // Redraws the clock panel of the status window from the poll clock.
    virtual void draw_clock() = 0;

    // Refreshes the status window's values (a full redraw when app_state asks for one).
    virtual void refresh_status() = 0;

    // Sets the task window's icon by resource name ("Normal", "Battery1" ... "Battery7").
    virtual void set_icon(const char* name) = 0;

    // Ends the application's event loop.
    virtual void terminate_application() = 0;
};
