// The windows' side of the monitor engine: the poll timer, redraws, the icon and the end.
#pragma once

#include "engine/monitor_host.h"

#include <string>

// The engine's host over the checked toolkit calls, acting on the windows of the application state.
class ui_host final : public monitor_host {
  public:
    bool start_poll_timer(int milliseconds) override;
    void draw_clock() override;
    void refresh_status() override;
    void set_icon(const char* name) override;
    void terminate_application() override;

    // Stops the poll timer when one runs (the status window's end).
    void stop_poll_timer();

    // The icon name last set ("Normal" until another is chosen).
    const std::string& icon() const { return icon_; }

    // Runs the poll timer factor times as often from now on (1 is real time); a period never drops
    // below the toolkit's shortest timer.
    void set_time_scale(int factor);

  private:
    std::string icon_ = "Normal";
    int time_scale_ = 1;
};

// Installs the one ui_host as the host of the application's engine and the message panel as its
// panel destination.
void install_ui_host();

// Shows every text bound for the message panel to watcher first (null for none).
void watch_panel_messages(void (*watcher)(const char* text));

// The installed ui_host.
ui_host& the_ui_host();
