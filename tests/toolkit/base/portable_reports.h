// Captures what the portable services report while a test runs.
#pragma once

#include <cstdint>
#include <vector>

#include "portable/report_hook.h"

struct PortableReport {
    uint32_t id;
    int severity;
};

// Installs a recording sink for its lifetime and puts the previous one back afterwards.
class ReportCapture {
  public:
    ReportCapture() : previous_(portable_set_report_sink(record)) { reports().clear(); }
    ~ReportCapture() { portable_set_report_sink(previous_); }
    ReportCapture(const ReportCapture&) = delete;
    ReportCapture& operator=(const ReportCapture&) = delete;

    static std::vector<PortableReport>& reports() {
        static std::vector<PortableReport> list;
        return list;
    }
    // True when exactly one report of id and severity was made.
    static bool only(uint32_t id, int severity) {
        return reports().size() == 1 && reports()[0].id == id && reports()[0].severity == severity;
    }

  private:
    static void record(uint32_t id, int severity, const char*, int) {
        reports().push_back({id, severity});
    }
    PortableReportSink previous_;
};
