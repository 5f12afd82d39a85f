// The engine's reporting of logs that stop taking lines: the event log hears of a failing data
// log, and standard error of a failing event log, once when it fails and once when it works again.
#include "monitor_fixture.h"

#include "files/logs.h"

#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string file_bytes(const char* name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

using log_reporting = monitor_test;

TEST_F(log_reporting, FailingLogsAreReportedInTheEventLogOrOnStandardError) {
    ups_status& u = g_app->local;
    u.valid = 1;
    u.logging_enabled = 1;
    log_book& logs = g_app->engine.logs;
    post_message("start", MSG_EVENT_LOG);
    ASSERT_EQ(mkdir(DATA_LOG, 0755), 0);
    write_data_record(logs, u, g_now);
    write_data_record(logs, u, g_now);
    ASSERT_EQ(rmdir(DATA_LOG), 0);
    write_data_record(logs, u, g_now);
    EXPECT_EQ(file_bytes(EVENT_LOG),
              "03/05/124,12:00:00,start\r\n"
              "03/05/124,12:00:00,Cannot write to the data log norva.dat: Is a directory.\r\n"
              "03/05/124,12:00:00,The data log norva.dat can be written again; 2 records were "
              "lost.\r\n");

    ASSERT_EQ(unlink(EVENT_LOG), 0);
    ASSERT_EQ(mkdir(EVENT_LOG, 0755), 0);
    testing::internal::CaptureStderr();
    post_message("lost one", MSG_EVENT_LOG);
    post_message("lost two", MSG_EVENT_LOG);
    ASSERT_EQ(rmdir(EVENT_LOG), 0);
    post_message("back", MSG_EVENT_LOG);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "voltsentry: Cannot write to the event log norva.log: Is a directory.\n"
              "voltsentry: The event log norva.log can be written again; 2 lines were lost.\n");
    EXPECT_EQ(file_bytes(EVENT_LOG),
              "03/05/124,12:00:00,back\r\n"
              "03/05/124,12:00:00,The event log norva.log can be written again; 2 lines were "
              "lost.\r\n");
}

} // namespace
