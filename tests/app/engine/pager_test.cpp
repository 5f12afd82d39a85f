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

} // namespace
