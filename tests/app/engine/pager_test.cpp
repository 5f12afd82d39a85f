// Alert forwarding: the text handed to the transport, and nothing while networking is off.
#include "monitor_fixture.h"

#include "engine/pager.h"

namespace {

std::vector<std::string> g_sent;

int record_alert(const char* server, const char* text) {
    g_sent.push_back(std::string(server) + "|" + text);
    return 0;
}

using alert_forwarding = monitor_test;

TEST_F(alert_forwarding, ForwardsTheUpsIdAndTextToTheServerOnlyWhileNetworked) {
    g_sent.clear();
    set_alert_transport(record_alert);
    strcpy(g_app->alert_server, "alerts");
    EXPECT_EQ(forward_alert("Low battery."), 0);
    send_alert("other", "as is");
    g_app->network_enabled = 0;
    forward_alert("dropped");
    set_alert_transport(nullptr);
    g_app->network_enabled = 1;
    EXPECT_EQ(forward_alert("to nowhere"), 0);
    EXPECT_EQ(g_sent, (std::vector<std::string>{"alerts|UPS1: Low battery.", "other|as is"}));
}

// A modem port that cannot be opened is reported, and nothing is written anywhere in its place.
TEST_F(alert_forwarding, APagerWhosePortCannotBeOpenedWritesNothing) {
    strcpy(g_app->local.modem_port, "NOMODEM");
    strcpy(g_app->local.modem_command, "ATDT5551234");
    g_debug_level = 1;
    const int result = page_operator(g_app->local);
    g_debug_level = 0;
    EXPECT_EQ(result, 2);
    EXPECT_EQ(count(g_panel, "Error opening port: NOMODEM!"), 1);
    for (const std::string& line : g_panel)
        EXPECT_EQ(line.find("WriteFile"), std::string::npos) << line;
}

} // namespace
