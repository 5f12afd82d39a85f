// Alert forwarding through posted messages, and the pager: the text handed to the transport, and
// nothing while networking is off; a modem port that cannot be opened.
#include "monitor_fixture.h"

#include "engine/pager.h"

namespace {

using alert_forwarding = monitor_test;

TEST_F(alert_forwarding, ForwardsTheUpsIdAndTextToTheServerOnlyWhileNetworked) {
    strcpy(g_app->alert_server, "ops");
    EXPECT_EQ(forward_alert("Low battery."), 0);
    post_message("Power restored.", MSG_FORWARD);
    post_message("Not forwarded.", MSG_PANEL);
    g_app->network_enabled = 0;
    forward_alert("dropped");
    post_message("dropped too", MSG_FORWARD);
    g_app->engine.transport = nullptr;
    g_app->network_enabled = 1;
    EXPECT_EQ(forward_alert("to nowhere"), 0);
    EXPECT_EQ(g_forwarded,
              (std::vector<std::string>{"ops|UPS1: Low battery.", "ops|UPS1: Power restored."}));
}

// A modem port that cannot be opened is reported, and nothing is written anywhere in its place.
TEST_F(alert_forwarding, APagerWhosePortCannotBeOpenedWritesNothing) {
    strcpy(g_app->local.modem_port, "NOMODEM");
    strcpy(g_app->local.modem_command, "ATDT5551234");
    g_app->engine.debug_level = TRACE_ERROR;
    const int result = page_operator(g_app->local);
    EXPECT_EQ(result, 2);
    EXPECT_EQ(count(g_panel, "Error opening port: NOMODEM!"), 1);
    for (const std::string& line : g_panel)
        EXPECT_EQ(line.find("write error"), std::string::npos) << line;
}

} // namespace
