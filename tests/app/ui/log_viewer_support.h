// For the viewers' tests and benchmark: data log records written as the data log writes them,
// the text a PDF's is compared by, and the key events that page through a table.
#pragma once

#include <cstdio>
#include <string>
#include <wyn/events.h>

// A record's readings; record i of a test log differs from the others in its time and voltage.
struct view_record {
    int minute_of_day = 0;
    const char* id = "RACK-7";
    int voltage = 120;
    int frequency = 60;
    int charge = 100;
    int temperature = 25;
    int mode = 0;
};

// The 58-byte record of r on 12/08/26.
inline std::string view_record_text(const view_record& r) {
    char line[80];
    std::snprintf(line, sizeof line, "12/08/26 ,%02d:%02d:00,%-15s,%-4d,%-4d,%-4d,%-4d,%1d\r\n",
                  r.minute_of_day / 60 % 24, r.minute_of_day % 60, r.id, r.voltage, r.frequency,
                  r.charge, r.temperature, r.mode);
    return line;
}

// Record i of a log of many: a minute apart, voltages 100 to 139.
inline view_record numbered_record(int i) {
    view_record r;
    r.minute_of_day = i % 1440;
    r.voltage = 100 + i % 40;
    return r;
}

// count numbered records.
inline std::string numbered_records(int count) {
    std::string out;
    out.reserve(size_t(count) * 58);
    for (int i = 0; i < count; ++i) out += view_record_text(numbered_record(i));
    return out;
}

// The record's line as the file holds it, line end dropped, blanks collapsed to one: what a
// PDF's extracted text can be compared with.
inline std::string collapsed(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r' || c == '\n') continue;
        if (c == ' ' && !out.empty() && out.back() == ' ') continue;
        out.push_back(c);
    }
    return out;
}

// The key event of Ctrl and a key (KEY_END, KEY_HOME, ...) as the window system delivers it.
inline EVENT ctrl_key_event(uint16_t key) {
    EVENT ev{};
    ev.type = E_CHAR;
    ev.v.chr.ch = key;
    ev.v.chr.virtual_key = TRUE;
    ev.v.chr.control = TRUE;
    ev.v.chr.modifiers = WYN_MOD_CTRL;
    return ev;
}
