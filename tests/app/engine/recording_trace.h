// A trace sink that keeps the lines a debug level would show, for the serial and protocol tests.
#pragma once

#include "engine/trace_sink.h"

#include <string>
#include <vector>

struct recording_trace final : trace_sink {
    bool shows(int category) const override {
        return level != 0 && (level == category || level == 255);
    }
    void line(const char* text, int) const override { lines.emplace_back(text); }

    int level = 0;
    mutable std::vector<std::string> lines;
};
