// Tests of the data, alarm and event logs, their rotation, file copies and the viewer line.
#include "files/logs.h"
#include "files_support.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

class logs_test : public files_test {
  protected:
    void SetUp() override {
        files_test::SetUp();
        ups_ = ups_status{};
        ups_.valid = 1;
        ups_.logging_enabled = 1;
        ups_.log_interval = 5;
        std::strcpy(ups_.ups_id, "ABCDEFGHIJKLMN");
        ups_.logged_voltage = 230;
        ups_.frequency = 50;
        ups_.battery_charge = 100;
        ups_.temperature_c = -5;
        ups_.power_state = 2;
    }

    // A data log of n records, record i holding voltage i % 1000.
    static void make_data_log(long n) {
        std::string bytes;
        bytes.reserve(static_cast<std::size_t>(n) * DATA_RECORD_SIZE);
        char rec[64];
        for (long i = 0; i < n; ++i) {
            std::snprintf(rec, sizeof rec,
                          "03/14/26 ,09:26:00,UPS            ,%-4ld,50  ,100 ,25  ,2\r\n",
                          i % 1000);
            bytes += rec;
        }
        write_bytes(DATA_LOG, bytes);
    }

    static std::size_t count_of(const std::string& s, const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
        return n;
    }

    ups_status ups_;
};

TEST_F(logs_test, DataRecordsAreFixedWidthWithTwoDigitYearAndZeroSeconds) {
    write_data_record(book_, ups_, T2001);
    // Readings too wide for their columns, and a hex power state, still give 58 bytes.
    ups_.ups_id[0] = '\0';
    ups_.logged_voltage = 65535;
    ups_.frequency = 60;
    ups_.battery_charge = 0;
    ups_.temperature_c = -32768;
    ups_.power_state = 12;
    write_data_record(book_, ups_, T2026);
    EXPECT_EQ(read_bytes(DATA_LOG), golden("norva.dat.golden"));
    EXPECT_EQ(data_log_record_count(DATA_LOG), 2);

    ups_.valid = 0;
    write_data_record(book_, ups_, T2026);
    EXPECT_EQ(data_log_record_count(DATA_LOG), 2);
}

TEST_F(logs_test, LineBreakInTheUpsIdDoesNotStretchTheRecord) {
    std::strcpy(ups_.ups_id, "AB\nCD");
    write_data_record(book_, ups_, T2026);
    const std::string bytes = read_bytes(DATA_LOG);
    ASSERT_EQ(bytes.size(), 58u);
    EXPECT_EQ(bytes.substr(19, 15), "AB CD          ");
}

TEST_F(logs_test, DataLogTimerWritesEveryIntervalAndSaysWhenItDid) {
    std::vector<time_t> written;
    for (time_t t = T2026; t < T2026 + 20 * 60; t += 3) {
        const long before = data_log_record_count(DATA_LOG);
        const bool wrote = log_data_when_due(book_, ups_, t);
        EXPECT_EQ(wrote, data_log_record_count(DATA_LOG) != before);
        if (wrote) written.push_back(t);
    }
    ASSERT_EQ(written.size(), 4u);
    for (std::size_t i = 1; i < written.size(); ++i) {
        EXPECT_GE(written[i] - written[i - 1], 300);
        EXPECT_LE(written[i] - written[i - 1], 303);
    }
    const std::string bytes = read_bytes(DATA_LOG);
    for (std::size_t r = 0; r < written.size(); ++r) EXPECT_EQ(bytes.substr(r * 58 + 16, 2), "00");

    // The clock set back an hour must not stop logging for an hour.
    EXPECT_TRUE(log_data_when_due(book_, ups_, T2026 - 3600));
    EXPECT_EQ(data_log_record_count(DATA_LOG), 5);

    ups_.logging_enabled = 0;
    EXPECT_FALSE(log_data_when_due(book_, ups_, T2026 + 7200));
    EXPECT_EQ(data_log_record_count(DATA_LOG), 5);
}

TEST_F(logs_test, DamagedLastRecordIsCompletedSoLaterRecordsStayOnTheirBoundary) {
    write_data_record(book_, ups_, T2001);
    const std::string first = read_bytes(DATA_LOG);
    // The tail of a second record lost, as a crash or a full disk in another program leaves it.
    write_bytes(DATA_LOG, first + first.substr(0, 20));
    write_data_record(book_, ups_, T2026);
    write_data_record(book_, ups_, T2026);
    const std::string bytes = read_bytes(DATA_LOG);
    ASSERT_EQ(bytes.size(), 4u * 58);
    EXPECT_EQ(bytes.substr(58, 58), first.substr(0, 20) + std::string(36, ' ') + "\r\n");
    data_log_reader reader(DATA_LOG);
    EXPECT_EQ(reader.line(2, 0), "03/14/26\t09:26:00\tABCDEFGHIJKLMN\t230\t50\t100\t-5\tNormal");
    EXPECT_EQ(reader.line(3, 0), "03/14/26\t09:26:00\tABCDEFGHIJKLMN\t230\t50\t100\t-5\tNormal");
    EXPECT_EQ(bytes.substr(3 * 58), bytes.substr(2 * 58, 58));
}

std::vector<log_append_change> g_changes;
void note_change(const log_append_change& change) {
    g_changes.push_back(change);
}

TEST_F(logs_test, FailingAppendsAreCountedAndTurnsToldOnce) {
    g_changes.clear();
    book_.listener = note_change;
    // A directory in the log's place: no one, root included, can append to it.
    ASSERT_EQ(mkdir(ALARM_LOG, 0755), 0);
    EXPECT_EQ(write_alarm_line(book_, "one", now()), 2);
    EXPECT_EQ(write_alarm_line(book_, "two", now()), 2);
    EXPECT_EQ(write_alarm_line(book_, "three", now()), 2);
    ASSERT_EQ(g_changes.size(), 1u);
    EXPECT_EQ(g_changes[0].log, log_kind::alarm);
    EXPECT_STREQ(g_changes[0].file, ALARM_LOG);
    EXPECT_TRUE(g_changes[0].failing);
    EXPECT_EQ(g_changes[0].error, EISDIR);
    ASSERT_EQ(rmdir(ALARM_LOG), 0);
    EXPECT_EQ(write_alarm_line(book_, "four", now()), 0);
    EXPECT_EQ(write_alarm_line(book_, "five", now()), 0);
    ASSERT_EQ(g_changes.size(), 2u);
    EXPECT_FALSE(g_changes[1].failing);
    EXPECT_EQ(g_changes[1].lost, 3);
}

TEST_F(logs_test, AlarmAndEventLinesCarryYearsSince1900) {
    set_now(T2001);
    write_alarm_line(book_, "Low battery.", now());
    set_now(T2026);
    write_alarm_line(book_, "Two\r\nlines", now());
    write_event_line(book_, nullptr, now());
    EXPECT_EQ(read_bytes(ALARM_LOG),
              "02/03/101,04:05:06,Low battery.\r\n03/14/126,09:26:53,Two  lines\r\n");
    EXPECT_EQ(read_bytes(EVENT_LOG), "03/14/126,09:26:53,\r\n");
}

TEST_F(logs_test, DataLogRotatesAtTwelveThousandAndOneRecords) {
    make_data_log(12000);
    rotate_log(DATA_LOG);
    EXPECT_EQ(data_log_record_count(DATA_LOG), 12000);
    EXPECT_FALSE(exists(DATA_LOG_OLD));

    const std::string before = read_bytes(DATA_LOG);
    ups_.logged_voltage = 777;
    write_data_record(book_, ups_, T2026);
    const std::string live = read_bytes(DATA_LOG);
    const std::string full = before + live.substr(live.size() - 58);
    EXPECT_EQ(data_log_record_count(DATA_LOG_OLD), 12001);
    EXPECT_EQ(read_bytes(DATA_LOG_OLD), full);
    EXPECT_EQ(data_log_record_count(DATA_LOG), 6001);
    EXPECT_EQ(live, full.substr(6000 * 58));
    EXPECT_FALSE(exists("norva.dat.tmp"));
}

TEST_F(logs_test, EventLogRotationKeepsTheNewestLinesWhole) {
    // 40000 short lines of 30 bytes count as about 15000 records of 80: about 9000 lines stay.
    std::string bytes;
    for (int i = 0; i < 40000; ++i) {
        char line[40];
        std::snprintf(line, sizeof line, "03/14/126,09:26:53,ev%06d\r\n", i);
        bytes += line;
    }
    const std::string long_line = std::string(150, 'L') + "\r\n";
    bytes += long_line;
    write_bytes(EVENT_LOG, bytes);
    write_event_line(book_, "newest", now());
    const std::string old_log = read_bytes(EVENT_LOG_OLD);
    const std::string live = read_bytes(EVENT_LOG);
    EXPECT_EQ(old_log.substr(0, bytes.size()), bytes);
    const std::string newest = "03/14/126,09:26:53,newest\r\n";
    EXPECT_EQ(count_of(live, "\r\n"), (bytes.size() + newest.size()) / 80 - 6000);
    EXPECT_EQ(live.substr(live.size() - newest.size()), newest);
    EXPECT_NE(live.find(long_line), std::string::npos);
    EXPECT_EQ(old_log.substr(old_log.size() - live.size()), live);
}

TEST_F(logs_test, EventLogOfLongLinesComesOutBelowTheLimit) {
    // 7000 lines of 200 bytes count as 17500 records: keeping 11500 lines is impossible, and
    // keeping all would rotate again at every line; 11500 records' worth of the newest stay.
    std::string bytes;
    for (int i = 0; i < 7000; ++i)
        bytes += std::string(191, 'a') + std::to_string(1000000 + i) + "\r\n";
    write_bytes(EVENT_LOG, bytes);
    rotate_log(EVENT_LOG);
    const std::string live = read_bytes(EVENT_LOG);
    EXPECT_EQ(live.size(), 4600u * 200);
    EXPECT_EQ(live, bytes.substr(bytes.size() - live.size()));
    EXPECT_EQ(read_bytes(EVENT_LOG_OLD), bytes);
}

TEST_F(logs_test, OtherFilesAreNeverRotated) {
    write_bytes(ALARM_LOG, std::string(58 * 12001, 'x'));
    rotate_log(ALARM_LOG);
    EXPECT_EQ(read_bytes(ALARM_LOG).size(), 58u * 12001);
}

TEST_F(logs_test, CopyLocalFileCopiesLinesAndReportsFailures) {
    EXPECT_EQ(CopyLocalFile(book_, "missing.dat", "norvatmp.dat", now()), 2);
    EXPECT_EQ(read_bytes(EVENT_LOG),
              "03/14/126,09:26:53,CopyLocalFile File: missing.dat, open error: 2\r\n");
    EXPECT_FALSE(exists("norvatmp.dat"));

    const std::string content = "a\r\nlone\rcr\r\n" + std::string(1000, 'z') + "\r\nlast";
    write_bytes(DATA_LOG, content);
    EXPECT_EQ(CopyLocalFile(book_, DATA_LOG, "norvatmp.dat", now()), 0);
    EXPECT_EQ(read_bytes("norvatmp.dat"), content);

    EXPECT_EQ(CopyLocalFile(book_, DATA_LOG, "no/such/dir/copy", now()), 2);
    EXPECT_NE(read_bytes(EVENT_LOG).find("CopyLocalFile File: no/such/dir/copy, create error: 2"),
              std::string::npos);
}

TEST_F(logs_test, RecordCountOfAMissingLogIsZero) {
    EXPECT_EQ(data_log_record_count("none"), 0);
}

TEST_F(logs_test, ViewerLineShowsModeAndConvertsTemperature) {
    write_data_record(book_, ups_, T2001);
    ups_.power_state = 1;
    ups_.temperature_c = 29;
    write_data_record(book_, ups_, T2026);
    ups_.power_state = 11;
    write_data_record(book_, ups_, T2026);

    data_log_reader reader(DATA_LOG);
    ASSERT_TRUE(reader.is_open());
    EXPECT_EQ(reader.line(0, 0), "02/03/01\t04:05:00\tABCDEFGHIJKLMN\t230\t50\t100\t-5\tNormal");
    EXPECT_EQ(reader.line(0, 1), "02/03/01\t04:05:00\tABCDEFGHIJKLMN\t230\t50\t100\t23\tNormal");
    EXPECT_EQ(reader.line(1, 1), "03/14/26\t09:26:00\tABCDEFGHIJKLMN\t230\t50\t100\t84\tInverting");
    EXPECT_EQ(reader.line(2, 0), "03/14/26\t09:26:00\tABCDEFGHIJKLMN\t230\t50\t100\t29\tInverting");
    // Beyond the end, before the start or a damaged record: the previous line stays.
    EXPECT_EQ(reader.line(3, 0), "03/14/26\t09:26:00\tABCDEFGHIJKLMN\t230\t50\t100\t29\tInverting");
    EXPECT_EQ(reader.line(-1, 0),
              "03/14/26\t09:26:00\tABCDEFGHIJKLMN\t230\t50\t100\t29\tInverting");

    std::string bytes = read_bytes(DATA_LOG);
    bytes[58 + 36] = 'x';
    write_bytes("damaged.dat", bytes);
    data_log_reader damaged("damaged.dat");
    EXPECT_EQ(damaged.line(1, 0), "");
    // A tab or line break in a damaged record's text columns must not add columns or lines.
    bytes = read_bytes(DATA_LOG);
    bytes[3] = '\t';
    bytes[22] = '\n';
    write_bytes("damaged.dat", bytes);
    EXPECT_EQ(data_log_reader("damaged.dat").line(0, 0),
              "02/ 3/01\t04:05:00\tABC EFGHIJKLMN\t230\t50\t100\t-5\tNormal");
    EXPECT_FALSE(data_log_reader("none").is_open());
}

} // namespace
