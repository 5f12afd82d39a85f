// The continuous log viewer on the test toolkit: its lines read from the records of a working
// copy, the menu item, Ctrl+End on a long log, and a screen print read back from its PDF file.
#include "app/ui/history_graph_support.h"
#include "app/ui/log_viewer_support.h"
#include "app/ui/log_viewer_window_support.h"
#include "app/ui/viewer_test_support.h"
#include "common/scoped_env.h"
#include "tools/process_support.h"

#include "table/table.h"
#include "ui/history_graph.h"
#include "ui/history_graph_data.h"
#include "ui/log_viewer.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <res/ids.h>
#include <unistd.h>

namespace {

class log_viewer_test : public viewer_window_test {
  protected:
    log_viewer_test() : viewer_window_test(continuous_log_window) {}
    void write_log(const std::string& records) {
        std::ofstream(dir_.file("norva.dat"), std::ios::binary) << records;
    }
    // Opens the viewer and hands back its table.
    WINDOW open() {
        EXPECT_TRUE(open_continuous_log());
        pump();
        EXPECT_NE(continuous_log_window(), nullptr);
        return continuous_log_table();
    }
    // The text pdftotext finds in the PDF that printing wrote, blanks collapsed.
    std::string printed(const std::string& pdf) {
        const std::string text_file = dir_.file("printed.txt");
        EXPECT_EQ(std::system(("pdftotext -layout " + pdf + " " + text_file).c_str()), 0);
        return read_file(text_file);
    }
    static bool log_command_enabled() {
        return menu_item_enabled(task_window(), CMD_VIEW_CONTINUOUS_LOG);
    }
    static void click(int16_t id) { click_control(continuous_log_window(), id); }
};

TEST_F(log_viewer_test, shows_each_record_as_its_view_line_and_cleans_up_on_close) {
    view_record inverting;
    inverting.minute_of_day = 65;
    inverting.id = "UPS-WITH-15-CHR";
    inverting.voltage = 98;
    inverting.frequency = 50;
    inverting.charge = 7;
    inverting.temperature = -5;
    inverting.mode = 1;
    view_record self_test = inverting;
    self_test.mode = 2;
    // Two records, 116 bytes: two lines, in Fahrenheit as the UPS in view reports them.
    write_log(view_record_text(inverting) + view_record_text(self_test));
    app_.local.temperature_unit = 1;
    ASSERT_TRUE(log_command_enabled());
    WINDOW table = open();
    ASSERT_NE(table, nullptr);
    EXPECT_FALSE(log_command_enabled());
    char title[64] = "";
    wyn_vobj_get_title(continuous_log_window(), title, sizeof title);
    EXPECT_STREQ(title, "Continous Log File");
    EXPECT_EQ(table_line_count(table), 2);
    EXPECT_STREQ(table_get_line(table, 0),
                 "12/08/26\t01:05:00\tUPS-WITH-15-CHR\t98\t50\t7\t23\tInverting");
    EXPECT_STREQ(table_get_line(table, 1),
                 "12/08/26\t01:05:00\tUPS-WITH-15-CHR\t98\t50\t7\t23\tNormal");
    EXPECT_EQ(table_get_line(table, 2), nullptr);
    EXPECT_EQ(continuous_log_position(), 58);
    table_properties props;
    ASSERT_TRUE(table_get_properties(table, &props));
    EXPECT_EQ(props.heading, "Date\tTime\tUPS ID\tVoltage\tFreq\tBatt %\tTemp\tUPS Mode");
    EXPECT_GT(props.heading_height, 0);

    click(IDC_LOG_CLOSE);
    EXPECT_EQ(continuous_log_window(), nullptr);
    EXPECT_TRUE(log_command_enabled());
    EXPECT_NE(access("norva.dat", F_OK), -1);
    EXPECT_EQ(access(LOG_WORK_FILE, F_OK), -1);
}

TEST_F(log_viewer_test, ctrl_end_reaches_the_last_record_of_a_long_log) {
    constexpr int kRecords = 20000;
    write_log(numbered_records(kRecords));
    WINDOW table = open();
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table_line_count(table), kRecords);
    EXPECT_EQ(table_first_visible(table), 0);
    EVENT ev = ctrl_key_event(KEY_END);
    wyn_win_dispatch_event(table, &ev);
    pump();
    const int32_t first = table_first_visible(table);
    EXPECT_GT(first, kRecords - 100);
    // The drawn page ends at the last record, which was read from its own place in the file.
    EXPECT_EQ(continuous_log_position(), long(kRecords - 1) * 58);
    char last[64];
    std::snprintf(last, sizeof last, "12/08/26\t%02d:%02d:00\tRACK-7\t%d\t60\t100\t25\tNormal",
                  (kRecords - 1) % 1440 / 60, (kRecords - 1) % 60, 100 + (kRecords - 1) % 40);
    EXPECT_STREQ(table_get_line(table, kRecords - 1), last);
}

TEST_F(log_viewer_test, print_screen_at_line_20_prints_the_whole_records_after_byte_488) {
    write_log(numbered_records(60));
    const std::string pdf = dir_.file("screen.pdf");
    const scoped_env print_file("WYN_PRINT_FILE", pdf);
    WINDOW table = open();
    ASSERT_NE(table, nullptr);
    ASSERT_NE(table_get_line(table, 20), nullptr);
    ASSERT_EQ(continuous_log_position(), 1160);
    click(IDC_LOG_PRINT_SCREEN);
    const std::string text = collapsed(printed(pdf));
    EXPECT_EQ(text.find("Norvane VoltSentry Plus Continuous Log File"), text.find_first_not_of(' '));
    // Byte 488 lies inside record 8: records 9 to 29 follow the title, 22 lines in all.
    EXPECT_EQ(text.find(collapsed(view_record_text(numbered_record(8)))), std::string::npos);
    for (int i = 9; i <= 29; ++i)
        EXPECT_NE(text.find(collapsed(view_record_text(numbered_record(i)))), std::string::npos)
            << "record " << i;
    EXPECT_EQ(text.find(collapsed(view_record_text(numbered_record(30)))), std::string::npos);
}

// The graph and the viewer read the same working copy: the one closed first leaves it to the
// other, and the last one removes it.
TEST_F(log_viewer_test, the_working_copy_stays_until_the_last_window_reading_it_is_closed) {
    // Records of today first, so the graph opens on them without a note.
    write_log(graph_records(graph_day_of(std::time(nullptr)), 5, 120, 90) + numbered_records(30));
    const std::string pdf = dir_.file("all.pdf");
    const scoped_env print_file("WYN_PRINT_FILE", pdf);
    ASSERT_NE(open(), nullptr);
    ASSERT_TRUE(open_history_graph());
    pump();
    ASSERT_NE(history_graph_window(), nullptr);
    wyn_vobj_destroy(history_graph_window());
    pump();
    EXPECT_EQ(access(LOG_WORK_FILE, F_OK), 0);
    click(IDC_LOG_PRINT_FILE);
    EXPECT_NE(collapsed(printed(pdf)).find(collapsed(view_record_text(numbered_record(29)))),
              std::string::npos);
    wyn_vobj_destroy(continuous_log_window());
    pump();
    EXPECT_NE(access(LOG_WORK_FILE, F_OK), 0);
}

} // namespace
