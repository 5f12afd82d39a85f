// The remote system selector on the test toolkit, given systems to list: its two tables, and
// "OK" viewing the chosen system or, with none chosen, only closing.
#include "app/ui/log_viewer_window_support.h"
#include "app/ui/status_support.h"

#include "table/table.h"
#include "ui/remote_selector.h"

#include <res/ids.h>
#include <wyn/checked/win.h>

namespace {

class remote_selector_test : public status_window_test {
  protected:
    void SetUp() override {
        status_window_test::SetUp();
        // The view change's poll is the engine's business, not the selector's.
        app_.engine.in_poll = true;
    }
    void TearDown() override {
        if (WINDOW win = remote_selector_window()) wyn_vobj_destroy(win);
        pump();
        status_window_test::TearDown();
    }
    WINDOW open() {
        EXPECT_TRUE(open_remote_selector_on({" LAB-1", " LAB-2"}));
        pump();
        EXPECT_NE(remote_selector_window(), nullptr);
        return custom_ctl_find(remote_selector_window(), IDR_SERVER_TABLE);
    }
    static void click(int16_t id) { click_control(remote_selector_window(), id); }
};

TEST_F(remote_selector_test, ok_views_the_selected_system_and_with_none_selected_only_closes) {
    WINDOW servers = open();
    ASSERT_NE(servers, nullptr);
    EXPECT_EQ(table_line_count(servers), 2);
    // The second table is there, hidden and disabled.
    WINDOW other = custom_ctl_find(remote_selector_window(), IDR_WORKSTATION_TABLE);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(wyn_vobj_get_flags(other) & (VOBJ_FLAG_VISIBLE | VOBJ_FLAG_ENABLED), 0u);
    click(IDR_OK);
    EXPECT_EQ(remote_selector_window(), nullptr);
    EXPECT_EQ(app_.remote_view, 0);

    servers = open();
    ASSERT_NE(servers, nullptr);
    table_set_sel(servers, 1, 1);
    click(IDR_OK);
    EXPECT_EQ(remote_selector_window(), nullptr);
    EXPECT_EQ(app_.remote_view, 1);
    EXPECT_STREQ(app_.ups_in_view, "LAB-2");
}

} // namespace
