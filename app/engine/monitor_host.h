// What the monitor engine asks of the windows: the poll timer, redraws, the icon and the end.
#pragma once

// Filled in by the windows (and by recording fakes in tests); the engine never sees the toolkit.
class monitor_host {
  public:
    virtual ~monitor_host() = default;

    // Creates the poll timer on the status window; its id, or 0 when it could not be created.
    virtual int create_poll_timer(int milliseconds) = 0;

    // Destroys a poll timer made by create_poll_timer.
    virtual void destroy_poll_timer(int timer) = 0;

    // Redraws the clock panel of the status window from the poll clock.
    virtual void draw_clock() = 0;

    // Refreshes the status window's values (a full redraw when app_state asks for one).
    virtual void refresh_status() = 0;

    // Sets the task window's icon by resource name ("Normal", "Battery1" ... "Battery7").
    virtual void set_icon(const char* name) = 0;

    // Ends the application's event loop.
    virtual void terminate_application() = 0;
};

// Installs the host; null leaves the engine without windows (no timer can then be created).
void set_monitor_host(monitor_host* host);

// The installed host, or null.
monitor_host* current_monitor_host();
