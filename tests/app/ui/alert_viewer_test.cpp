// The alert log viewer on the test toolkit: one paragraph per line of the alarm log, the scroll
// bar moving the view and following it, the menu items and a whole-file print.
#include "app/ui/log_viewer_window_support.h"
#include "app/ui/viewer_test_support.h"
#include "common/scoped_env.h"

#include "engine/app_state.h"
#include "ui/alert_viewer.h"

#include <cstdlib>
#include <fstream>
#include <res/ids.h>
#include <string>
#include <unistd.h>
#include <wyn/checked/sbar.h>
#include <wyn/checked/text.h>
#include <wyn/win.h>

namespace {

class alert_viewer_test : public viewer_window_test {
  protected:
    alert_viewer_test() : viewer_window_test(alert_log_window) {}
    void write_file(const char* name, const std::string& text) {
        std::ofstream(dir_.file(name), std::ios::binary) << text;
    }
    // Opens the viewer on the local (0) or the network's (1) log and hands back its text view.
    TX open(int network = 0) {
        EXPECT_TRUE(open_alert_log(network));
        pump();
        return alert_log_window() ? wyn_tx_get_tx(alert_log_window(), IDA_TEXT) : nullptr;
    }
    static std::string paragraph(TX tx, uint16_t par) {
        char buf[256];
        return wyn_tx_copy_line(tx, par, 0, buf, sizeof buf) >= 0 ? std::string(buf) : "<none>";
    }
    static WINDOW bar() { return wyn_win_get_ctl(alert_log_window(), IDA_SCROLL); }
    // The bar's event as the window system delivers it when the user works it.
    static void work_bar(int32_t what, int16_t pos = 0) {
        EVENT ev{};
        ev.type = E_CONTROL;
        ev.v.ctl.id = IDA_SCROLL;
        ev.v.ctl.ci.win = bar();
        ev.v.ctl.ci.type = WT_VSCROLL;
        ev.v.ctl.ci.v.scroll.what = what;
        ev.v.ctl.ci.v.scroll.pos = pos;
        wyn_win_dispatch_event(alert_log_window(), &ev);
        pump();
    }
    static bool enabled(int16_t tag) { return menu_item_enabled(task_window(), tag); }
};

// Lines of the alarm log as the program writes them, numbered.
std::string alarm_lines(int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += "12/08/26 10:" + std::to_string(10 + i % 50) + ":00 Line Voltage out of range #" +
               std::to_string(i) + "\r\n";
    return out;
}

TEST_F(alert_viewer_test, shows_each_non_empty_line_as_a_paragraph_and_restores_the_menu_on_close) {
    write_file(ALERT_LOG_FILE, "first alarm\r\n\r\n\r\nsecond alarm\nthird alarm\r\n\r\n");
    app_.network_enabled = 0;
    TX tx = open();
    ASSERT_NE(tx, nullptr);
    EXPECT_FALSE(enabled(CMD_VIEW_ALERT_LOG));
    EXPECT_FALSE(enabled(CMD_VIEW_NETWORK_ALERT_LOG));
    ASSERT_EQ(wyn_tx_get_num_pars(tx), 3);
    EXPECT_EQ(paragraph(tx, 0), "first alarm");
    EXPECT_EQ(paragraph(tx, 1), "second alarm");
    EXPECT_EQ(paragraph(tx, 2), "third alarm");
    int32_t min = -1, max = -1;
    wyn_sbar_get_range(bar(), SCROLL_CTL, &min, &max);
    EXPECT_EQ(min, 0);
    EXPECT_EQ(max, 3);
    EXPECT_EQ(wyn_sbar_get_proportion(bar(), SCROLL_CTL), 3);

    click_control(alert_log_window(), IDA_CLOSE);
    EXPECT_EQ(alert_log_window(), nullptr);
    EXPECT_TRUE(enabled(CMD_VIEW_ALERT_LOG));
    // The network's log stays off while the network is.
    EXPECT_FALSE(enabled(CMD_VIEW_NETWORK_ALERT_LOG));
    EXPECT_EQ(access(ALERT_LOG_FILE, F_OK), 0);
}

TEST_F(alert_viewer_test, a_line_longer_than_the_log_writes_goes_on_in_the_next_paragraph) {
    const std::string long_line(ALERT_LINE_CHARS + 20, 'x');
    write_file(ALERT_LOG_FILE, long_line + "\r\nshort\r\n");
    TX tx = open();
    ASSERT_NE(tx, nullptr);
    ASSERT_EQ(wyn_tx_get_num_pars(tx), 3);
    EXPECT_EQ(paragraph(tx, 0), long_line.substr(0, ALERT_LINE_CHARS));
    EXPECT_EQ(paragraph(tx, 1), long_line.substr(ALERT_LINE_CHARS));
    EXPECT_EQ(paragraph(tx, 2), "short");
}

TEST_F(alert_viewer_test, the_bar_scrolls_the_view_by_lines_pages_and_thumb_and_follows_it) {
    write_file(ALERT_LOG_FILE, alarm_lines(100));
    TX tx = open();
    ASSERT_NE(tx, nullptr);
    EXPECT_EQ(wyn_sbar_get_proportion(bar(), SCROLL_CTL), ALERT_PAGE_LINES);
    work_bar(SC_LINE_DOWN);
    EXPECT_EQ(wyn_tx_get_first_line(tx), 1);
    EXPECT_EQ(wyn_sbar_get_pos(bar(), SCROLL_CTL), 1);
    work_bar(SC_PAGE_DOWN);
    EXPECT_EQ(wyn_tx_get_first_line(tx), 1 + ALERT_PAGE_LINES);
    EXPECT_EQ(wyn_sbar_get_pos(bar(), SCROLL_CTL), 1 + ALERT_PAGE_LINES);
    work_bar(SC_THUMB, 50);
    EXPECT_EQ(wyn_tx_get_first_line(tx), 50);
    work_bar(SC_PAGE_UP);
    work_bar(SC_LINE_UP);
    EXPECT_EQ(wyn_tx_get_first_line(tx), 50 - ALERT_PAGE_LINES - 1);
    // Scrolling up from the top stays at the top, the thumb with it.
    work_bar(SC_THUMB, 0);
    work_bar(SC_LINE_UP);
    EXPECT_EQ(wyn_tx_get_first_line(tx), 0);
    EXPECT_EQ(wyn_sbar_get_pos(bar(), SCROLL_CTL), 0);
    // The view scrolled by itself (the caret sent to the end) takes the thumb along.
    EVENT key{};
    key.type = E_CHAR;
    key.v.chr.ch = KEY_END;
    key.v.chr.virtual_key = TRUE;
    // The key reaches the view's own window, which has the focus, as the window system gives it.
    wynk_win_dispatch_event(static_cast<WINDOW>(tx), &key);
    pump();
    EXPECT_GT(wyn_tx_get_first_line(tx), 50);
    EXPECT_EQ(wyn_sbar_get_pos(bar(), SCROLL_CTL), wyn_tx_get_first_line(tx));
}

TEST_F(alert_viewer_test, a_log_longer_than_a_view_holds_shows_its_newest_lines_and_says_so) {
    const int lines = int(TX_MAX_PARS) + 3;
    std::string log;
    log.reserve(size_t(lines) * 12);
    for (int i = 0; i < lines; ++i) log += "alarm " + std::to_string(i) + "\r\n";
    write_file(ALERT_LOG_FILE, log);
    TX tx = open();
    ASSERT_NE(tx, nullptr);
    ASSERT_EQ(wyn_tx_get_num_pars(tx), TX_MAX_PARS);
    EXPECT_EQ(paragraph(tx, 0), "alarm 3");
    EXPECT_EQ(paragraph(tx, uint16_t(TX_MAX_PARS - 1)), "alarm " + std::to_string(lines - 1));
    char title[96] = "";
    wyn_vobj_get_title(alert_log_window(), title, sizeof title);
    EXPECT_STREQ(title, "File Viewer (newest 65534 of 65537 lines)");
    EXPECT_TRUE(reported_ids().empty()) << "no paragraph refused";
}

TEST_F(alert_viewer_test, print_writes_every_line_of_the_log) {
    write_file(ALERT_LOG_FILE, alarm_lines(120));
    const std::string pdf = dir_.file("alerts.pdf");
    const scoped_env print_file("WYN_PRINT_FILE", pdf);
    ASSERT_NE(open(), nullptr);
    click_control(alert_log_window(), IDA_PRINT);
    const std::string text_file = dir_.file("alerts.txt");
    ASSERT_EQ(std::system(("pdftotext -layout " + pdf + " " + text_file).c_str()), 0);
    const std::string text = read_file(text_file);
    for (int i = 0; i < 120; ++i)
        EXPECT_NE(text.find("Line Voltage out of range #" + std::to_string(i) + "\n"),
                  std::string::npos) << i;
    EXPECT_NE(alert_log_window(), nullptr);
}

} // namespace
