// Where the serial and protocol layers send their diagnostic lines: a sink their user gives them.
#pragma once

// Diagnostic categories: errors of the serial port and the operating system, and the wire trace.
enum trace_category : int { TRACE_ERROR = 1, TRACE_WIRE = 16 };

// Takes diagnostic lines; the program's sink posts them by its debug level, the probe prints them.
class trace_sink {
  public:
    virtual ~trace_sink() = default;

    // True when lines of category are wanted (they are only formatted then).
    virtual bool shows(int category) const = 0;

    // Takes one line of category.
    virtual void line(const char* text, int category) const = 0;
};

// Formats and hands a line to sink when it shows the category; a null sink takes nothing.
void tracef(const trace_sink* sink, int category, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
