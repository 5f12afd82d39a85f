// The configuration, modem and phone option dialogs driven in process on the test toolkit: what
// the running program cannot easily be brought to (a found port, the remote view, a view that
// changes under the dialog, the modem dialog's life).
#include <gtest/gtest.h>

#include "engine/app_state.h"
#include "files/config_file.h"
#include "toolkit/base/app_support.h"
#include "tools/process_support.h"
#include "ui/phone_dialog.h"
#include "ui/setup_dialog.h"
#include "ui/ui_state.h"

#include <climits>
#include <res/ids.h>
#include <unistd.h>
#include <wyn/checked/ctl.h>
#include <wyn/checked/dlg.h>
#include <wyn/checked/list.h>
#include <wyn/checked/win.h>
#include <wyn/str.h>

namespace {

WINDOW find_under(SLIST list, const std::string& title) {
    WINDOW found = nullptr;
    for (int i = 0; list && !found && i < wynv_slist_count(list); ++i) {
        long data = 0;
        const char* text = wynv_slist_get_elt(list, i, &data);
        auto* win = reinterpret_cast<WINDOW>(data);
        found = text && title == text ? win : find_under(wyn_win_list_wins(win), title);
    }
    if (list) wynv_slist_destroy(list);
    return found;
}

// The open window of that title anywhere, or null.
WINDOW find_window(const std::string& title) {
    return find_under(wyn_scr_list_wins(), title);
}

// A control event as the window system delivers it: a click, or a bar's scroll action.
void control(WINDOW dlg, int16_t id, int32_t what = 0, int16_t pos = 0) {
    EVENT ev{};
    ev.type = E_CONTROL;
    ev.v.ctl.id = id;
    ev.v.ctl.ci.win = wyn_win_get_ctl(dlg, id);
    ev.v.ctl.ci.type = wyn_vobj_get_type(ev.v.ctl.ci.win);
    ev.v.ctl.ci.v.scroll.what = what;
    ev.v.ctl.ci.v.scroll.pos = pos;
    wyn_win_dispatch_event(dlg, &ev);
    pump();
}

std::string title_of(WINDOW dlg, int16_t id) {
    char text[64] = "";
    return wyn_vobj_get_title(wyn_win_get_ctl(dlg, id), text, sizeof text) ? text : "";
}

bool has_flag(WINDOW dlg, int16_t id, uint32_t flag) {
    return (wyn_vobj_get_flags(wyn_win_get_ctl(dlg, id)) & flag) != 0;
}

bool checked(WINDOW dlg, int16_t id) {
    return wyn_ctl_is_checked(wyn_win_get_ctl(dlg, id));
}

class config_dialogs : public ToolkitTest {
  protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        startApp();
        ASSERT_NE(getcwd(cwd_, sizeof cwd_), nullptr);
        ASSERT_EQ(chdir(dir_.path().c_str()), 0);
        g_app = &app_;
        g_ui = ui_state{}; // no status window: no port is ever opened from here
        load_configuration(app_.local, app_, time(nullptr));
    }
    void TearDown() override {
        for (const char* title : {"Modem Parameters", kSetup, "Phone Option"})
            if (WINDOW win = find_window(title)) wyn_vobj_destroy(win);
        pump();
        g_app = nullptr;
        EXPECT_EQ(chdir(cwd_), 0);
        ToolkitTest::TearDown();
    }

    // Modeless, so that the test goes on while it is open.
    static WINDOW open(int32_t id, EVENT_HANDLER handler, intptr_t data = 0) {
        WINDOW dlg = wyn_dlg_create_res(WT_MODELESS_DLG, id, EM_ALL, handler, data);
        pump();
        return dlg;
    }
    WINDOW open_setup() {
        return open(DLG_SETUP, setup_dialog_handler, reinterpret_cast<intptr_t>(&saved_));
    }
    std::string saved_file() const { return read_file(dir_.file("norva.cfg")); }

    static constexpr char kSetup[] = "Norvane VoltSentry Plus Configuration";
    temp_dir dir_;
    app_state app_{};
    uint8_t saved_ = 9;
    char cwd_[PATH_MAX] = "";
};

TEST_F(config_dialogs, bars_keep_to_their_ranges_whatever_the_stored_value_or_the_move) {
    app_.local.disruption_time = 5; // below its range in the file
    app_.local.grace_time = 255;
    WINDOW dlg = open_setup();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(title_of(dlg, ID_DISRUPTION_VALUE), "10");
    control(dlg, ID_GRACE_BAR, SC_LINE_DOWN);
    EXPECT_EQ(title_of(dlg, ID_GRACE_VALUE), "255");
    control(dlg, ID_GRACE_BAR, SC_PAGE_UP);
    control(dlg, ID_DOWN_TIME_BAR, SC_THUMB, 500);
    control(dlg, ID_LOW_BATTERY_BAR, SC_THUMB_DRAG, -3);
    control(dlg, ID_LOG_BAR, SC_LINE_UP); // from 1, its minimum
    control(dlg, ID_OK);
    EXPECT_EQ(saved_, 1);
    const ups_status& u = app_.local;
    EXPECT_EQ(u.disruption_time, 10);
    EXPECT_EQ(u.grace_time, 254);
    EXPECT_EQ(u.powerfail_time, 99);
    EXPECT_EQ(u.low_battery_time, 0);
    EXPECT_EQ(u.log_interval, 1);
}

TEST_F(config_dialogs, a_port_found_by_its_hardware_id_is_shown_alone_and_kept) {
    app_.local.port_found = 1;
    std::snprintf(app_.local.found_port, sizeof app_.local.found_port, "COM3");
    WINDOW dlg = open_setup();
    WINDOW list = wyn_win_get_ctl(dlg, ID_PORT_LIST);
    EXPECT_EQ(wyn_list_count_all(list), 1);
    EXPECT_EQ(title_of(dlg, ID_PORT_LIST), "COM3");
    EXPECT_FALSE(has_flag(dlg, ID_PORT_LIST, VOBJ_FLAG_ENABLED));
    control(dlg, ID_OK);
    EXPECT_STREQ(app_.local.ups_port, "COM1");
    EXPECT_NE(saved_file().find("UPS port:COM1\r\n"), std::string::npos);
}

TEST_F(config_dialogs, remote_view_disables_its_controls_and_ok_stores_into_the_remote_record) {
    app_.remote_view = 1;
    app_.remote = app_.local;
    WINDOW dlg = open_setup();
    EXPECT_EQ(app_.remote_view_held, 1);
    for (int16_t id :
         {ID_VOLTAGE_LABEL, ID_VOLTAGE_LIST, ID_LOGGING, ID_LOG_BAR, ID_LOG_VALUE, ID_LOG_UNIT,
          ID_ALERT_LABEL, ID_ALERT_NAME, ID_NAME_LABEL, ID_NAME, ID_PORT_LABEL, ID_PORT_LIST})
        EXPECT_FALSE(has_flag(dlg, id, VOBJ_FLAG_ENABLED)) << id;
    EXPECT_TRUE(has_flag(dlg, ID_DOWN_TIME_BAR, VOBJ_FLAG_ENABLED));
    wyn_list_set_sel(wyn_win_get_ctl(dlg, ID_VOLTAGE_LIST), 2, TRUE);
    control(dlg, ID_DOWN_TIME_BAR, SC_THUMB, 12);
    // A shutdown brings the local UPS into view while the dialog is open: "OK" still stores into
    // the record it showed.
    app_.remote_view = 0;
    control(dlg, ID_OK);
    EXPECT_STREQ(app_.remote.ups_voltage_text, "240");
    EXPECT_EQ(app_.remote.nominal_voltage, 0);
    EXPECT_EQ(app_.remote.powerfail_time, 12);
    EXPECT_EQ(app_.local.powerfail_time, 4);
    EXPECT_EQ(app_.remote_view_held, 0);
}

TEST_F(config_dialogs, modem_dialog_is_one_at_a_time_and_its_values_go_with_a_cancel) {
    WINDOW setup = open_setup();
    control(setup, ID_MODEM);
    EXPECT_FALSE(checked(setup, ID_MODEM));
    WINDOW modem = find_window("Modem Parameters");
    ASSERT_NE(modem, nullptr);
    control(setup, ID_MODEM);
    EXPECT_EQ(find_window("Modem Parameters"), modem);
    EXPECT_FALSE(has_flag(modem, IDM_PAGE_ON_POWER_FAIL, VOBJ_FLAG_VISIBLE));
    control(modem, IDM_TIME_BAR, SC_THUMB, 9);
    control(modem, IDM_PAGE_ON_SHUTDOWN);
    control(modem, IDM_OK);
    EXPECT_EQ(app_.local.modem_time, 4); // the record waits for the configuration's "OK"
    // A modem dialog still open when the configuration is cancelled goes with it.
    control(setup, ID_MODEM);
    control(find_window("Modem Parameters"), IDM_PAGE_ON_SHUTDOWN);
    control(setup, ID_CANCEL);
    EXPECT_EQ(saved_, 0);
    EXPECT_EQ(find_window("Modem Parameters"), nullptr);
    EXPECT_EQ(app_.local.modem_time, 4);
    EXPECT_EQ(app_.local.page_on_shutdown, 0);
    EXPECT_TRUE(saved_file().empty());
}

TEST_F(config_dialogs, phone_option_starts_from_the_ups_answer_and_ok_makes_it_pending) {
    app_.local.phone_option_value = 1;
    WINDOW dlg = open(DLG_PHONE, phone_dialog_handler);
    EXPECT_TRUE(checked(dlg, IDP_REBOOT));
    EXPECT_FALSE(checked(dlg, IDP_REMOTE_ON));
    control(dlg, IDP_CANCEL);
    EXPECT_EQ(app_.local.phone_option_pending, 0);
    app_.local.phone_option_value = 0;
    app_.local.phone_option_setting = 1;
    dlg = open(DLG_PHONE, phone_dialog_handler);
    EXPECT_TRUE(checked(dlg, IDP_REMOTE_ON));
    control(dlg, IDP_OK);
    EXPECT_EQ(app_.local.phone_option_setting, 0);
    EXPECT_EQ(app_.local.phone_option_pending, 1);
    EXPECT_FALSE(saved_file().empty());
}

} // namespace
