// The history graph on the test toolkit: its drawing at pixel level, and the window worked as a
// person would (today chosen at opening, all days, the battery graph, paging, the menu item).
#include "app/ui/history_graph_support.h"
#include "app/ui/log_viewer_window_support.h"
#include "app/ui/status_support.h"
#include "app/ui/viewer_test_support.h"
#include "common/scoped_env.h"
#include "tools/process_support.h"

#include "files/clock.h"
#include "ui/history_graph.h"
#include "ui/history_graph_draw.h"
#include "ui/status_draw.h"

#include <cstdlib>
#include <fstream>
#include <res/ids.h>
#include <unistd.h>
#include <wyn/checked/ctl.h>
#include <wyn/checked/dwin.h>
#include <wyn/checked/list.h>
#include <wyn/checked/menu.h>
#include <wyn/checked/util.h>
#include <wyn/checked/win.h>

namespace {

constexpr uint32_t RGB_LTGRAY = 0xC0C0C0;

class graph_draw_test : public status_window_test {
  protected:
    void draw(const graph_data& data, bool battery = false, int page = 0) {
        graph_view view;
        view.data = &data;
        view.battery = battery;
        view.page = page;
        status_set_tools(win_);
        wyn_dwin_clear(win_, COLOR_BLUE);
        graph_draw(win_, true, view);
    }
    graph_data load(const std::string& records) {
        const std::string path = dir_.file("a.dat");
        std::ofstream(path, std::ios::binary) << records;
        graph_data data;
        EXPECT_EQ(graph_get_data(path.c_str(), nullptr, 0, data), 0);
        return data;
    }
    temp_dir dir_;
};

TEST_F(graph_draw_test, plot_area_is_grey_with_white_grid_lines_every_20_pixels) {
    draw(graph_data{});
    EXPECT_EQ(px(200, 100), RGB_LTGRAY);
    EXPECT_EQ(px(200, 35), RGB_LTGRAY);
    EXPECT_EQ(px(200, 25), RGB_BLUE);
    for (int y = 50; y <= 310; y += 20) EXPECT_EQ(px(200, y), RGB_WHITE) << "grid at y " << y;
    EXPECT_EQ(px(200, 60), RGB_LTGRAY);
    // The axis ticks at 151 and 267 stand on the base line.
    EXPECT_EQ(px(151, 327), RGB_WHITE);
    EXPECT_EQ(px(267, 327), RGB_WHITE);
    // The battery graph's area starts at 110 and its grid there.
    draw(graph_data{}, true);
    EXPECT_EQ(px(200, 100), RGB_BLUE);
    EXPECT_EQ(px(200, 115), RGB_LTGRAY);
    EXPECT_EQ(px(200, 110), RGB_WHITE);
}

TEST_F(graph_draw_test, voltage_above_the_ceiling_is_drawn_at_50_and_0_volts_on_the_base_line) {
    const graph_data data =
        load(graph_records("12/08/26", 20, 300, 100) + graph_records("12/08/26", 20, 0, 100));
    draw(data);
    EXPECT_EQ(px(45, 50), RGB_BLACK);
    EXPECT_EQ(px(55, 50), RGB_BLACK);
    EXPECT_EQ(px(65, 330), RGB_BLACK);
    EXPECT_EQ(px(70, 330), RGB_BLACK);
    // The drop between them is joined by a line.
    EXPECT_EQ(px(59, 200), RGB_BLACK);
    // A page beyond the last draws no points.
    draw(data, false, 1);
    EXPECT_EQ(px(45, 50), RGB_WHITE);
}

TEST_F(graph_draw_test, eighty_eight_records_give_two_label_pairs_and_87_one) {
    const graph_data one = load(graph_records("12/08/26", 87, 120, 100));
    draw(one);
    EXPECT_GT(count(20, 338, 70, 372, RGB_WHITE), 0);
    EXPECT_EQ(count(136, 338, 200, 372, RGB_WHITE), 0);
    const graph_data two = load(graph_records("12/08/26", 88, 120, 100));
    draw(two);
    EXPECT_GT(count(136, 338, 200, 352, RGB_WHITE), 0);
    EXPECT_GT(count(136, 356, 200, 372, RGB_WHITE), 0);
    EXPECT_EQ(count(252, 338, 320, 372, RGB_WHITE), 0);
    const std::string path = std::string(VS_BIN_DIR) + "/../history_graph.png";
    EXPECT_TRUE(wyn::testing::save_png(picture().part(RCT{0, 0, 430, 640}), path.c_str()));
}

// The window from its resource, opened over a data log of yesterday and today.
class graph_window_test : public viewer_window_test {
  protected:
    graph_window_test() : viewer_window_test(history_graph_window) {}
    // Yesterday's records, then today's.
    void write_log(int yesterday, int today) {
        const time_t now = app_now();
        std::ofstream(dir_.file("norva.dat"), std::ios::binary)
            << graph_records(graph_day_of(now - 86400), yesterday, 118, 100)
            << graph_records(graph_day_of(now), today - 1, 121, 90)
            << graph_record(graph_day_of(now), 1439, 104, 35);
        today_ = graph_day_of(now);
    }
    void click(int16_t id) {
        WINDOW win = history_graph_window();
        ASSERT_NE(win, nullptr);
        click_control(win, id);
    }
    void choose_day(const char* day) {
        WINDOW list = wyn_win_get_ctl(history_graph_window(), IDG_DAYS);
        for (int32_t i = 0; i < wyn_list_count_all(list); ++i) {
            char text[64];
            if (wyn_list_get_elt(list, i, text, sizeof text) && std::string(text) == day)
                wyn_list_set_sel(list, i, TRUE);
        }
        click(IDG_DAYS);
    }
    static bool history_enabled() {
        MENU_ITEM* tree = wyn_menu_get_tree(task_window());
        const bool enabled = tree && find_enabled(tree);
        if (tree) wyn_res_free_menu_tree(tree);
        return enabled;
    }
    static bool find_enabled(const MENU_ITEM* items) {
        for (const MENU_ITEM* m = items; m->tag != 0; ++m) {
            if (m->tag == CMD_HISTORY_GRAPHS) return (m->flags & MENU_FLAG_ENABLED) != 0;
            if (m->submenu && find_enabled(m->submenu)) return true;
        }
        return false;
    }
    const graph_view& view() const { return *history_graph_view(); }

    std::string today_;
};

TEST_F(graph_window_test, opens_on_today_and_works_days_graphs_and_pages) {
    write_log(400, 100);
    ASSERT_TRUE(history_enabled());
    ASSERT_TRUE(open_history_graph());
    pump();
    ASSERT_NE(history_graph_window(), nullptr);
    EXPECT_FALSE(history_enabled());
    EXPECT_EQ(view().day, today_);
    EXPECT_EQ(view().data->records, 100);
    EXPECT_EQ(view().data->min_voltage, 104);
    EXPECT_TRUE(wyn_ctl_is_checked(wyn_win_get_ctl(history_graph_window(), IDG_VOLTAGE)));
    EXPECT_EQ(wyn_list_get_sel_index(wyn_win_get_ctl(history_graph_window(), IDG_DAYS)), 1);
    // One page of today: paging does nothing.
    click(IDG_NEXT);
    EXPECT_EQ(view().page, 0);

    choose_day(GRAPH_ALL_DAYS);
    EXPECT_EQ(view().data->records, 500);
    click(IDG_NEXT);
    EXPECT_EQ(view().page, 1);
    click(IDG_NEXT);
    EXPECT_EQ(view().page, 1);
    click(IDG_PREVIOUS);
    click(IDG_PREVIOUS);
    EXPECT_EQ(view().page, 0);

    click(IDG_BATTERY);
    EXPECT_TRUE(view().battery);
    EXPECT_EQ(view().data->min_battery, 35);
    EXPECT_TRUE(wyn_ctl_is_checked(wyn_win_get_ctl(history_graph_window(), IDG_BATTERY)));
    EXPECT_FALSE(wyn_ctl_is_checked(wyn_win_get_ctl(history_graph_window(), IDG_VOLTAGE)));
    const wyn::testing::Image shot = wyn::testing::window_image(history_graph_window());
    EXPECT_EQ(shot.at(200, 115) & 0xFFFFFF, RGB_LTGRAY);

    click(IDG_CLOSE);
    EXPECT_EQ(history_graph_window(), nullptr);
    EXPECT_TRUE(history_enabled());
    EXPECT_NE(access("norva.dat", F_OK), -1);
    EXPECT_EQ(access(GRAPH_WORK_FILE, F_OK), -1);
    EXPECT_EQ(access(GRAPH_DAY_FILE, F_OK), -1);
}

// Printing writes the day's graph with its true minimum to the PDF file WYN_PRINT_FILE names.
TEST_F(graph_window_test, print_writes_the_days_graph_with_its_minimum_to_a_pdf) {
    write_log(50, 30);
    std::snprintf(app_.ups_in_view, sizeof app_.ups_in_view, "%s", "LABSERVER");
    const std::string pdf = dir_.file("graph.pdf");
    const scoped_env print_file("WYN_PRINT_FILE", pdf);
    ASSERT_TRUE(open_history_graph());
    pump();
    click(IDG_PRINT);
    const std::string text_file = dir_.file("graph.txt");
    ASSERT_EQ(std::system(("pdftotext -layout " + pdf + " " + text_file).c_str()), 0);
    const std::string text = read_file(text_file);
    EXPECT_NE(text.find("VoltSentry Plus History Graph"), std::string::npos) << text;
    EXPECT_NE(text.find("Workstation Name: LABSERVER"), std::string::npos) << text;
    EXPECT_NE(text.find("Min Line Voltage: 104"), std::string::npos) << text;
    EXPECT_NE(text.find("Line Voltage (" + today_ + ")"), std::string::npos) << text;
    const std::string png = std::string(VS_BIN_DIR) + "/../history_graph_page";
    EXPECT_EQ(std::system(("pdftoppm -png -r 50 -singlefile " + pdf + " " + png).c_str()), 0);
}

} // namespace
