// The history graph's data: record counting, the minima, labels and points, the day filter, and
// the day list that finds today in the data log's own date form.
#include <gtest/gtest.h>

#include "app/ui/history_graph_support.h"
#include "tools/process_support.h"

#include "engine/app_state.h"
#include "files/logs.h"
#include "ui/history_graph_data.h"

#include <fstream>
#include <unistd.h>

namespace {

class graph_data_test : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(getcwd(cwd_, sizeof cwd_), nullptr);
        ASSERT_EQ(chdir(dir_.path().c_str()), 0);
    }
    void TearDown() override { EXPECT_EQ(chdir(cwd_), 0); }

    void put(const char* name, const std::string& text) const {
        std::ofstream(dir_.file(name), std::ios::binary) << text;
    }

    temp_dir dir_;
    char cwd_[4096] = {};
    graph_data data_;
};

TEST_F(graph_data_test, record_count_comes_from_the_size_and_two_records_are_the_least) {
    const std::string two = graph_records("12/07/26", 2, 120, 100);
    ASSERT_EQ(two.size(), 116u);
    put("a.dat", two);
    EXPECT_EQ(graph_get_data("a.dat", nullptr, 0, data_), 0);
    EXPECT_TRUE(data_.present);
    EXPECT_EQ(data_.records, 2);
    put("b.dat", two.substr(0, 115));
    EXPECT_EQ(graph_get_data("b.dat", nullptr, 0, data_), 2);
    EXPECT_FALSE(data_.present);
    EXPECT_EQ(graph_get_data("missing.dat", nullptr, 0, data_), 2);
    EXPECT_FALSE(data_.present);
}

TEST_F(graph_data_test, labels_come_every_87_records_and_minima_cover_all) {
    std::string log = graph_records("12/07/26", 87, 118, 100);
    put("a.dat", log);
    ASSERT_EQ(graph_get_data("a.dat", nullptr, 0, data_), 0);
    EXPECT_EQ(data_.time_labels.size(), 1u);
    log += graph_record("12/08/26", 61, 97, 40);
    put("a.dat", log);
    ASSERT_EQ(graph_get_data("a.dat", nullptr, 0, data_), 0);
    ASSERT_EQ(data_.time_labels.size(), 2u);
    EXPECT_EQ(data_.time_labels[1], "01:01");
    EXPECT_EQ(data_.date_labels[1], "12/08/26");
    EXPECT_EQ(data_.min_voltage, 97);
    EXPECT_EQ(data_.min_battery, 40);
}

TEST_F(graph_data_test, points_clamp_at_the_ceiling_and_rest_on_the_base_line) {
    std::string log = graph_record("12/08/26", 0, 300, 150) + graph_record("12/08/26", 1, 0, 0) +
                      graph_record("12/08/26", 2, 125, 50);
    log += graph_records("12/08/26", 350, 120, 100); // record 350 starts over at x 40
    put("a.dat", log);
    ASSERT_EQ(graph_get_data("a.dat", nullptr, 0, data_), 0);
    EXPECT_EQ(data_.voltage_points[0].v, 50);
    EXPECT_EQ(data_.voltage_points[1].v, 330);
    EXPECT_EQ(data_.voltage_points[2].v, 80);
    EXPECT_EQ(data_.battery_points[0].v, 50);
    EXPECT_EQ(data_.battery_points[2].v, 230);
    EXPECT_EQ(data_.voltage_points[2].h, 42);
    ASSERT_EQ(data_.voltage_points.size(), 353u);
    EXPECT_EQ(data_.voltage_points[350].h, 40);
    // The 230 V family: below its base of 140 on the base line, 230 V at 150.
    ASSERT_EQ(graph_get_data("a.dat", nullptr, 1, data_), 0);
    EXPECT_EQ(data_.voltage_points[0].v, 50);
    EXPECT_EQ(data_.voltage_points[2].v, 330);
}

TEST_F(graph_data_test, a_chosen_day_is_copied_to_temp_dat_and_loaded_alone) {
    put("a.dat", graph_records("12/07/26", 5, 110, 90) + graph_records("12/08/26", 3, 121, 80));
    ASSERT_EQ(graph_get_data("a.dat", "12/08/26", 0, data_), 0);
    EXPECT_EQ(data_.records, 3);
    EXPECT_EQ(data_.min_voltage, 121);
    EXPECT_EQ(read_file(dir_.file(GRAPH_DAY_FILE)), graph_records("12/08/26", 3, 121, 80));
    EXPECT_EQ(graph_get_data("a.dat", "12/09/26", 0, data_), 2);
}

TEST_F(graph_data_test, days_are_listed_at_their_second_record_then_select_all) {
    put("a.dat", graph_records("12/05/26", 3, 120, 100) + graph_record("12/06/26", 0, 120, 100) +
                     graph_records("12/07/26", 2, 120, 100) +
                     graph_record("12/08/26", 0, 120, 100));
    // The 6th's one record arms the listing, so the 7th is listed at its first record; the 8th's
    // one record only arms it.
    EXPECT_EQ(graph_list_days("a.dat"),
              (std::vector<std::string>{"12/05/26", "12/07/26", GRAPH_ALL_DAYS}));
    put("b.dat", "");
    EXPECT_TRUE(graph_list_days("b.dat").empty());
    EXPECT_TRUE(graph_list_days("missing.dat").empty());
}

// The day list once wrote the years since 1900 ("126" in 2026) and never found today.
TEST_F(graph_data_test, today_is_found_in_the_data_logs_own_date_form) {
    struct tm noon{};
    noon.tm_year = 126;
    noon.tm_mon = 11;
    noon.tm_mday = 8;
    noon.tm_hour = 12;
    noon.tm_isdst = -1;
    const time_t t = mktime(&noon);
    EXPECT_EQ(graph_day_of(t), "12/08/26");
    ups_status ups{};
    ups.valid = 1;
    ups.logged_voltage = 119;
    ups.battery_charge = 77;
    log_book book;
    ASSERT_EQ(write_data_record(book, ups, t - 86400), 0);
    ASSERT_EQ(write_data_record(book, ups, t - 86400 + 60), 0);
    ASSERT_EQ(write_data_record(book, ups, t), 0);
    ASSERT_EQ(write_data_record(book, ups, t + 60), 0);
    std::vector<std::string> days;
    EXPECT_EQ(graph_day_list(DATA_LOG, t, 0, days, data_), 1);
    EXPECT_EQ(days, (std::vector<std::string>{"12/07/26", "12/08/26", GRAPH_ALL_DAYS}));
    EXPECT_TRUE(data_.present);
    EXPECT_EQ(data_.records, 2);
    EXPECT_EQ(data_.min_voltage, 119);
    // A day without records leaves the data as it was.
    data_ = graph_data{};
    EXPECT_EQ(graph_day_list(DATA_LOG, t + 2 * 86400, 0, days, data_), -1);
    EXPECT_FALSE(data_.present);
}

} // namespace
