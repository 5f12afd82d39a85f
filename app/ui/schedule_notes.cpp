// The schedule notes' sentences, built from the record in view.
#include "ui/schedule_notes.h"

#include "engine/app_state.h"
#include "files/config_file.h"
#include "ui/prompts.h"

#include <cerrno>
#include <cstdio>

namespace {

constexpr char kNoSelftest[] = "No self-test is currently scheduled.";
constexpr char kNoShutdown[] = "No shutdown is currently scheduled.";
constexpr char kNoRestart[] = "No restart is currently scheduled.";

// What comes before the sentence for each self-test type; null for a type the schedule never
// starts (immediate, or a value the configuration should not hold).
const char* selftest_wrapper(int16_t type) {
    switch (type) {
    case 1:
        return "A Weekly ";
    case 2:
        return "Bi-Weekly ";
    case 3:
        return "A Monthly ";
    default:
        return nullptr;
    }
}

const char* shutdown_wrapper(int16_t type) {
    switch (type) {
    case 1:
        return "Daily ";
    case 2:
        return "A Weekly ";
    case 4:
        return "A Monthly ";
    default:
        return nullptr;
    }
}

// "<what> is scheduled for Tue @ 09:05."
std::string scheduled_sentence(const char* what, const ups_clock& when) {
    char text[96];
    std::snprintf(text, sizeof text, "%s is scheduled for %s @ %02d:%02d.", what,
                  weekday_name(when.weekday), when.hour, when.minute);
    return text;
}

ups_status& record_in_view(bool remote) {
    return remote ? g_app->remote : g_app->local;
}

} // namespace

const char* weekday_name(int weekday) {
    static constexpr const char* kNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    return weekday >= 0 && weekday < 7 ? kNames[weekday] : "?";
}

bool selftest_scheduled(const ups_status& ups) {
    return ups.selftest_enabled != 0 && selftest_wrapper(ups.selftest_type) != nullptr;
}

std::string selftest_schedule_note(const ups_status& ups) {
    if (!selftest_scheduled(ups)) return kNoSelftest;
    return selftest_wrapper(ups.selftest_type) + scheduled_sentence("Self-Test", ups.selftest_time);
}

std::string selftest_cancel_question(const ups_status& ups) {
    const char* wrapper = selftest_wrapper(ups.selftest_type);
    return std::string(wrapper ? wrapper : "") +
           scheduled_sentence("Self-Test", ups.selftest_time) + "   Cancel this test?";
}

std::string shutdown_schedule_note(const ups_status& ups) {
    const char* wrapper = shutdown_wrapper(ups.shutdown_type);
    std::string note = ups.shutdown_enabled != 0 && wrapper
                           ? wrapper + scheduled_sentence("Shutdown", ups.shutdown_time)
                           : std::string(kNoShutdown);
    if (ups.restart_enabled != 0)
        note += "\n" + scheduled_sentence("Restart", ups.restart_time);
    else
        note += kNoRestart;
    return note;
}

void show_selftest_schedule() {
    ui_note(selftest_schedule_note(record_in_view(g_app->remote_view != 0)).c_str());
}

void show_shutdown_schedule() {
    ui_note(shutdown_schedule_note(record_in_view(g_app->remote_view != 0)).c_str());
}

void cancel_selftest_schedule() {
    // The view may change while the question waits (a shutdown returns to the local UPS), so the
    // answer goes to the record that was asked about.
    const bool remote = g_app->remote_view != 0;
    if (!selftest_scheduled(record_in_view(remote))) {
        ui_note(kNoSelftest);
        return;
    }
    const std::string question = selftest_cancel_question(record_in_view(remote));
    const int16_t answer = ui_ask("No", "Yes", question.c_str());
    // The application may have ended while it waited.
    if (answer != 1 || !g_app) return;
    record_in_view(remote).selftest_enabled = 0;
    if (save_configuration(g_app->local, *g_app) != 0)
        ui_error(configuration_save_failure(errno).c_str());
}
