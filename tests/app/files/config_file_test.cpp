// Tests of the configuration, threshold and alarm-kind files.
#include "files/config_file.h"
#include "files/text_file.h"
#include "files_support.h"
#include "common/settings_record.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class config_test : public files_test {
  protected:
    void SetUp() override {
        files_test::SetUp();
        app_ = std::make_unique<settings_record>();
    }
    ups_status& ups() { return app_->local; }
    app_settings& app() { return app_->settings; }

    // A record with every configuration field set to something other than its default.
    void fill_sample() {
        ups_status& u = ups();
        std::strcpy(u.ups_port, "COM3");
        u.logging_enabled = 1;
        u.log_interval = 5;
        std::strcpy(u.ups_id, "Server Room A");
        u.selftest_status = 1;
        u.selftest_enabled = 1;
        u.selftest_type = 2;
        u.selftest_time.weekday = 3;
        u.selftest_time.hour = 4;
        u.selftest_time.minute = 30;
        u.temperature_unit = 0;
        u.disruption_time = 10;
        u.low_battery_time = 5;
        u.grace_time = 120;
        u.message_time = 60;
        u.powerfail_time = 4;
        std::strcpy(app().alert_server, "alerts.example");
        app().start_minimised = 1;
        u.modem_time = 4;
        std::strcpy(u.modem_command, "ATDT5551234");
        std::strcpy(u.modem_port, "COM2");
        u.page_on_shutdown = 1;
        u.extended_identity = 1;
        u.last_selftest.day = 12;
        u.last_selftest.month = 5;
        u.last_selftest.year = 125;
        u.shutdown_enabled = 1;
        u.shutdown_type = 2;
        u.shutdown_time = ups_clock{0, 15, 22, 0, 0, 0, 5, 0, 0};
        u.restart_enabled = 1;
        u.restart_time = ups_clock{0, 0, 7, 0, 0, 0, 6, 0, 0};
        app().stale_file_limit = 3;
        std::strcpy(u.ups_voltage_text, "240");
    }

    // The settings of lines 4 to 37 hold the defaults of a missing file.
    void expect_defaults_from_line_4() {
        const ups_status& u = ups();
        EXPECT_STREQ(u.ups_id, "");
        EXPECT_EQ(u.selftest_status, 5);
        EXPECT_EQ(u.selftest_time.hour, 0);
        EXPECT_EQ(u.temperature_unit, 1);
        EXPECT_EQ(u.disruption_time, 10);
        EXPECT_EQ(u.low_battery_time, 5);
        EXPECT_EQ(u.grace_time, 120);
        EXPECT_EQ(u.message_time, 60);
        EXPECT_EQ(u.powerfail_time, 4);
        EXPECT_EQ(u.modem_time, 4);
        EXPECT_STREQ(u.modem_port, "COM2");
        EXPECT_EQ(u.shutdown_type, 2);
        EXPECT_STREQ(u.ups_voltage_text, "Default");
        EXPECT_EQ(u.nominal_voltage, 0);
    }

    // Loads a configuration file made of the given bytes into a fresh state.
    int load(const std::string& bytes) {
        app_ = std::make_unique<settings_record>();
        return load_over(bytes);
    }

    // Loads a configuration file made of the given bytes over the present state.
    int load_over(const std::string& bytes) {
        write_bytes(CONFIG_FILE, bytes);
        return load_configuration(ups(), app(), T2026);
    }

    // The golden file with line n (1-based) replaced by text (which carries its own CR LF).
    static std::string golden_with_line(int n, const std::string& text) {
        std::string g = golden("norva.cfg.golden");
        std::size_t start = 0;
        for (int i = 1; i < n; ++i) start = g.find('\n', start) + 1;
        const std::size_t end = g.find('\n', start) + 1;
        return g.replace(start, end - start, text);
    }

    std::unique_ptr<settings_record> app_;
};

TEST_F(config_test, SaveWritesTheThirtyEightLinesInWindowsTextForm) {
    fill_sample();
    ASSERT_EQ(save_configuration(ups(), app()), 0);
    EXPECT_EQ(read_bytes(CONFIG_FILE), golden("norva.cfg.golden"));
    EXPECT_FALSE(exists("norva.cfg.tmp"));
}

TEST_F(config_test, LoadReadsBackEverySavedField) {
    ASSERT_EQ(load(golden("norva.cfg.golden")), 0);
    const ups_status& u = ups();
    EXPECT_STREQ(u.ups_port, "COM3");
    EXPECT_EQ(u.log_interval, 5);
    EXPECT_STREQ(u.ups_id, "Server Room A");
    EXPECT_EQ(u.selftest_status, 1);
    EXPECT_EQ(u.selftest_enabled, 1);
    EXPECT_EQ(u.selftest_time.weekday, 3);
    EXPECT_EQ(u.selftest_time.minute, 30);
    EXPECT_EQ(u.temperature_unit, 0);
    EXPECT_STREQ(app().alert_server, "alerts.example");
    EXPECT_EQ(app().start_minimised, 1);
    EXPECT_STREQ(u.modem_command, "ATDT5551234");
    EXPECT_EQ(u.extended_identity, 1);
    EXPECT_EQ(u.last_selftest.year, 125);
    EXPECT_EQ(u.shutdown_time.hour, 22);
    EXPECT_EQ(u.restart_time.weekday, 6);
    EXPECT_EQ(app().stale_file_limit, 3);
    EXPECT_STREQ(u.ups_voltage_text, "240");
    EXPECT_EQ(u.nominal_voltage, 240);

    // Saving what was loaded gives the same file back.
    ASSERT_EQ(save_configuration(ups(), app()), 0);
    EXPECT_EQ(read_bytes(CONFIG_FILE), golden("norva.cfg.golden"));
}

TEST_F(config_test, MissingFileFillsDefaultsFromNowAndWritesNothing) {
    ups().selftest_time.hour = 9;
    EXPECT_EQ(load_configuration(ups(), app(), T2026), 2);
    EXPECT_FALSE(exists(CONFIG_FILE));
    const ups_status& u = ups();
    EXPECT_STREQ(u.ups_port, "COM1");
    EXPECT_EQ(u.logging_enabled, 1);
    EXPECT_EQ(u.log_interval, 1);
    expect_defaults_from_line_4();
    // 2026-03-14 09:26:53 UTC, a Saturday, day 72 of the year.
    const ups_clock now{53, 26, 9, 14, 2, 126, 6, 72, 0};
    EXPECT_EQ(std::memcmp(&u.shutdown_time, &now, sizeof now), 0);
    EXPECT_EQ(std::memcmp(&u.restart_time, &now, sizeof now), 0);
}

TEST_F(config_test, ValuesFollowLineNumbersAndColonsCutThem) {
    ASSERT_EQ(load(golden_with_line(20, "Modem Command:ATDT:123\r\n")), 0);
    EXPECT_STREQ(ups().modem_command, "ATDT");

    // Lines 12 and 13 swapped: each value goes to the field of its line, whatever its key.
    std::string swapped = golden("norva.cfg.golden");
    swapped.replace(swapped.find("Disruption Time:10\r\nLow Battery Time:5"), 38,
                    "Low Battery Time:5\r\nDisruption Time:10");
    ASSERT_EQ(load(swapped), 0);
    EXPECT_EQ(ups().disruption_time, 5);
    EXPECT_EQ(ups().low_battery_time, 10);
}

TEST_F(config_test, LinesWithoutValueAreSkippedButCountedAndKeepTheirDefault) {
    std::strcpy(ups().modem_command, "ATZ");
    settings_problems problems;
    write_bytes(CONFIG_FILE, golden_with_line(20, "Modem Command:\r\n"));
    ASSERT_EQ(load_configuration(ups(), app(), T2026, &problems), 0);
    EXPECT_STREQ(ups().modem_command, "");
    EXPECT_STREQ(ups().modem_port, "COM2");
    // An empty value is how an empty text is saved: no damage to report.
    EXPECT_TRUE(problems.empty());

    ASSERT_EQ(load(golden_with_line(1, "no colon here\r\n")), 0);
    EXPECT_STREQ(ups().ups_port, "COM1");
    EXPECT_EQ(ups().log_interval, 5);
    ASSERT_EQ(load(golden_with_line(21, "Modem Port:\r\n")), 0);
    EXPECT_STREQ(ups().modem_port, "COM2");
}

TEST_F(config_test, ShortFileTakesTheDefaultsOfItsMissingLinesAndSaysFromWhere) {
    std::string g = golden("norva.cfg.golden");
    std::size_t third_line_end = 0;
    for (int i = 0; i < 3; ++i) third_line_end = g.find('\n', third_line_end) + 1;
    settings_problems problems;
    write_bytes(CONFIG_FILE, g.substr(0, third_line_end));
    ASSERT_EQ(load_configuration(ups(), app(), T2026, &problems), 0);
    EXPECT_STREQ(ups().ups_port, "COM3");
    EXPECT_EQ(ups().log_interval, 5);
    // Zero times would turn the first outage into an immediate shutdown.
    expect_defaults_from_line_4();
    EXPECT_EQ(ups().shutdown_time.weekday, 6);
    EXPECT_EQ(ups().restart_time.hour, 9);
    EXPECT_EQ(problems, settings_problems{"Configuration file norva.cfg is incomplete: defaults "
                                          "used from line 4 on."});
}

TEST_F(config_test, EmptyOrGarbledFileLoadsTheDefaultsAndSaysSo) {
    settings_problems problems;
    write_bytes(CONFIG_FILE, "");
    ASSERT_EQ(load_configuration(ups(), app(), T2026, &problems), 0);
    EXPECT_STREQ(ups().ups_port, "COM1");
    EXPECT_EQ(ups().disruption_time, 10);
    EXPECT_EQ(problems, settings_problems{"Configuration file norva.cfg is empty: defaults used."});

    problems.clear();
    app_ = std::make_unique<settings_record>();
    write_bytes(CONFIG_FILE, "\x89PNG\r\n\x1a\n\x01\x02garbage\r\n");
    ASSERT_EQ(load_configuration(ups(), app(), T2026, &problems), 0);
    EXPECT_STREQ(ups().ups_port, "COM1");
    EXPECT_EQ(ups().grace_time, 120);
    EXPECT_EQ(problems, (settings_problems{
                            "Configuration file norva.cfg is incomplete: defaults used from line "
                            "4 on.",
                            "Configuration file norva.cfg is damaged: defaults used for lines 1, "
                            "2 and 3."}));

    // Numbers that hold no digits keep their defaults too, and are named.
    problems.clear();
    std::string g = golden_with_line(14, "Grace Time:soon\r\n");
    g = g.replace(g.find("Powerfail Time:4"), 16, "Powerfail Time:-3");
    write_bytes(CONFIG_FILE, g);
    ASSERT_EQ(load_configuration(ups(), app(), T2026, &problems), 0);
    EXPECT_EQ(ups().grace_time, 120);
    EXPECT_EQ(ups().powerfail_time, 4);
    EXPECT_EQ(problems, settings_problems{"Configuration file norva.cfg is damaged: defaults "
                                          "used for lines 14 and 16."});
}

TEST_F(config_test, FileThatIsNotRegularIsRefusedWithoutWaitingOnIt) {
    // Opened for reading, a FIFO without a writer would hold the start for ever.
    ASSERT_EQ(mkfifo(CONFIG_FILE, 0644), 0);
    settings_problems problems;
    EXPECT_EQ(load_configuration(ups(), app(), T2026, &problems), 2);
    EXPECT_STREQ(ups().ups_port, "COM1");
    EXPECT_EQ(ups().grace_time, 120);
    EXPECT_EQ(problems, settings_problems{"Configuration file norva.cfg is not a regular file: it "
                                          "was not read, defaults used."});
    ASSERT_EQ(unlink(CONFIG_FILE), 0);
    ASSERT_EQ(mkdir(CONFIG_FILE, 0755), 0);
    problems.clear();
    EXPECT_EQ(load_configuration(ups(), app(), T2026, &problems), 2);
    EXPECT_EQ(problems.size(), 1u);
    // A missing file is no problem: the set-up dialog asks for the settings.
    ASSERT_EQ(rmdir(CONFIG_FILE), 0);
    problems.clear();
    EXPECT_EQ(load_configuration(ups(), app(), T2026, &problems), 2);
    EXPECT_TRUE(problems.empty());
}

TEST_F(config_test, VoltageLineSetsTheNominalVoltage) {
    ASSERT_EQ(load(golden_with_line(37, "UPS Voltage:208\r\n")), 0);
    EXPECT_EQ(ups().nominal_voltage, 208);
    ASSERT_EQ(load(golden_with_line(37, "UPS Voltage:Default\r\n")), 0);
    EXPECT_STREQ(ups().ups_voltage_text, "Default");
    EXPECT_EQ(ups().nominal_voltage, 0);
    // A last line without its line feed keeps its last character.
    std::string g = golden("norva.cfg.golden");
    ASSERT_EQ(load(g.substr(0, g.find("UPS Voltage:")) + "UPS Voltage:240"), 0);
    EXPECT_STREQ(ups().ups_voltage_text, "240");
    EXPECT_EQ(ups().nominal_voltage, 240);
}

TEST_F(config_test, ImmediateSchedulesDoNotSurviveARestart) {
    ASSERT_EQ(load(golden_with_line(7, "Selftest Type:0\r\n")), 0);
    EXPECT_EQ(ups().selftest_enabled, 0);
    ASSERT_EQ(load(golden_with_line(28, "Shutdown Type:0\r\n")), 0);
    EXPECT_EQ(ups().shutdown_enabled, 0);
    EXPECT_EQ(ups().selftest_enabled, 1);
}

TEST_F(config_test, OversizedLineCountsAsOneLineAndIsCutToItsField) {
    ASSERT_EQ(load(golden_with_line(4, "UPS id:" + std::string(300, 'x') + "\r\n")), 0);
    EXPECT_STREQ(ups().ups_id, std::string(14, 'x').c_str());
    EXPECT_EQ(ups().selftest_status, 1);
    EXPECT_STREQ(ups().ups_voltage_text, "240");

    ASSERT_EQ(load(golden_with_line(20, "Modem Command:" + std::string(200, '7') + "\r\n")), 0);
    EXPECT_EQ(std::strlen(ups().modem_command), 63u);
    EXPECT_STREQ(ups().modem_port, "COM2");
}

TEST_F(config_test, TextIsNeverCutInsideAUtf8Character) {
    // 13 ASCII bytes and a two-byte character: the character does not fit in 14 bytes.
    ASSERT_EQ(load(golden_with_line(4, "UPS id:ABCDEFGHIJKLM\xC3\xA9Z\r\n")), 0);
    EXPECT_STREQ(ups().ups_id, "ABCDEFGHIJKLM");
    // Bytes that are no UTF-8 are cut where they fall: a port of stray continuation bytes is
    // never cut to nothing, which would leave no port to open.
    ASSERT_EQ(load(golden_with_line(1, "UPS port:" + std::string(PORT_NAME_SIZE + 1, '\xB2') +
                                           "\r\n")),
              0);
    EXPECT_EQ(std::string(ups().ups_port), std::string(PORT_NAME_SIZE - 1, '\xB2'));
}

TEST_F(config_test, NumbersOutOfRangeAreClampedNotWrapped) {
    ASSERT_EQ(load(golden_with_line(3, "Log Interval:70000\r\n")), 0);
    EXPECT_EQ(ups().log_interval, 32767);
    ASSERT_EQ(load(golden_with_line(14, "Grace Time:99999999999999999999999\r\n")), 0);
    EXPECT_EQ(ups().grace_time, 32767);
    ASSERT_EQ(load(golden_with_line(23, "Model Code:70000\r\n")), 0);
    EXPECT_EQ(ups().extended_identity, 65535);
    ASSERT_EQ(load(golden_with_line(2, "Logging:5\r\n")), 0);
    EXPECT_EQ(ups().logging_enabled, 1);
    ASSERT_EQ(load(golden_with_line(37, "UPS Voltage:29999999\r\n")), 0);
    EXPECT_EQ(ups().nominal_voltage, 65535);
}

TEST_F(config_test, SavedTextWithALineBreakDoesNotShiftLaterLines) {
    fill_sample();
    std::strcpy(ups().modem_command, "ATDT\n555");
    ASSERT_EQ(save_configuration(ups(), app()), 0);
    ASSERT_EQ(load(read_bytes(CONFIG_FILE)), 0);
    EXPECT_STREQ(ups().modem_command, "ATDT");
    EXPECT_STREQ(ups().modem_port, "COM2");
    EXPECT_EQ(ups().nominal_voltage, 240);
}

TEST_F(config_test, AStrayCarriageReturnEndsATextAsSavingWouldSoTheFileLoadsAsItSaves) {
    // A lone CR inside a line: the text before it is the value, and a text that is nothing
    // before it counts as not given and keeps its default.
    ASSERT_EQ(load(golden_with_line(20, "Modem Command:ATDT\r555\r\n")), 0);
    EXPECT_STREQ(ups().modem_command, "ATDT");
    ASSERT_EQ(load(golden_with_line(21, "Modem Port:\r3\r*\r\n")), 0);
    EXPECT_STREQ(ups().modem_port, "COM2");
    ASSERT_EQ(save_configuration(ups(), app()), 0);
    const std::string first = read_bytes(CONFIG_FILE);
    ASSERT_EQ(load(first), 0);
    ASSERT_EQ(save_configuration(ups(), app()), 0);
    EXPECT_EQ(read_bytes(CONFIG_FILE), first);
}

TEST_F(config_test, SaveOverAReadOnlyFileFailsAndKeepsIt) {
    write_bytes(CONFIG_FILE, "old");
    ASSERT_EQ(chmod(CONFIG_FILE, 0444), 0);
    fill_sample();
    errno = 0;
    EXPECT_EQ(save_configuration(ups(), app()), 2);
    EXPECT_EQ(errno, EACCES);
    EXPECT_EQ(read_bytes(CONFIG_FILE), "old");
    EXPECT_FALSE(exists(atomic_text_file::temporary_name(CONFIG_FILE, 0).c_str()));
}

TEST_F(config_test, SaveIntoAnUnwritableDirectoryFails) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only directories";
    write_bytes(CONFIG_FILE, "old");
    fill_sample();
    ASSERT_EQ(chmod(".", 0555), 0);
    EXPECT_EQ(save_configuration(ups(), app()), 2);
    ASSERT_EQ(chmod(".", 0755), 0);
    EXPECT_EQ(read_bytes(CONFIG_FILE), "old");
}

TEST_F(config_test, MissingThresholdAndAlarmKindFilesGetTheirDefaultsWritten) {
    EXPECT_EQ(load_thresholds(ups()), 0);
    EXPECT_EQ(load_alarm_kinds(ups()), 0);
    EXPECT_EQ(read_bytes(THRESHOLD_FILE), golden("norva.tsh.golden"));
    EXPECT_EQ(read_bytes(ALARM_KIND_FILE), golden("tlog.log.golden"));
    EXPECT_EQ(ups().thresholds[ALARM_HIGH_LINE].value, 130);
    EXPECT_EQ(ups().thresholds[ALARM_TEMPERATURE].kind, 19);
    EXPECT_EQ(ups().alarm_file_setting, 3);
}

TEST_F(config_test, FailedWritesOfThresholdsAndAlarmKindsAreReported) {
    // Links into a missing directory: the files are missing and cannot be created.
    ASSERT_EQ(symlink("nowhere/norva.tsh", THRESHOLD_FILE), 0);
    ASSERT_EQ(symlink("nowhere/tlog.log", ALARM_KIND_FILE), 0);
    settings_problems problems;
    EXPECT_EQ(load_thresholds(ups(), &problems), 0);
    EXPECT_EQ(load_alarm_kinds(ups(), &problems), 0);
    EXPECT_EQ(ups().thresholds[ALARM_LOW_LINE].value, 100);
    EXPECT_EQ(ups().alarm_file_setting, 3);
    EXPECT_EQ(problems,
              (settings_problems{"Threshold file norva.tsh cannot be written (No such file or "
                                 "directory): its defaults are used for now.",
                                 "Alarm-kind file tlog.log cannot be written (No such file or "
                                 "directory): its defaults are used for now."}));
    errno = 0;
    EXPECT_EQ(save_thresholds(ups()), 2);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(save_alarm_kinds(ups()), 2);
}

TEST_F(config_test, ThresholdsRoundTripIncludingNegativeValues) {
    const int16_t values[] = {90, 140, 80, 25, -10};
    for (int i = 0; i < ALARM_COUNT; ++i) {
        ups().thresholds[i].value = values[i];
        ups().thresholds[i].kind = static_cast<int16_t>(i + 1);
    }
    ups().alarm_file_setting = 7;
    ASSERT_EQ(save_thresholds(ups()), 0);
    ASSERT_EQ(save_alarm_kinds(ups()), 0);
    ups_status loaded{};
    load_thresholds(loaded);
    load_alarm_kinds(loaded);
    for (int i = 0; i < ALARM_COUNT; ++i) {
        EXPECT_EQ(loaded.thresholds[i].value, values[i]);
        EXPECT_EQ(loaded.thresholds[i].kind, i + 1);
    }
    EXPECT_EQ(loaded.alarm_file_setting, 7);
}

TEST_F(config_test, DamagedThresholdFilesKeepTheDefaultsOfBadLines) {
    write_bytes(THRESHOLD_FILE, "95\r\n\r\nabc\r\n" + std::string(200, '4') + "\r\n");
    load_thresholds(ups());
    EXPECT_EQ(ups().thresholds[ALARM_LOW_LINE].value, 95);
    EXPECT_EQ(ups().thresholds[ALARM_HIGH_LINE].value, 130);
    EXPECT_EQ(ups().thresholds[ALARM_LOAD].value, 90);
    EXPECT_EQ(ups().thresholds[ALARM_BATTERY].value, 32767);
    EXPECT_EQ(ups().thresholds[ALARM_TEMPERATURE].value, 120);
    EXPECT_EQ(read_bytes(THRESHOLD_FILE).size(), 213u); // an existing file is never rewritten

    write_bytes(ALARM_KIND_FILE, "3\n7");
    load_alarm_kinds(ups());
    EXPECT_EQ(ups().thresholds[ALARM_LOW_LINE].kind, 3);
    EXPECT_EQ(ups().thresholds[ALARM_HIGH_LINE].kind, 7);
    EXPECT_EQ(ups().thresholds[ALARM_LOAD].kind, 19);
    EXPECT_EQ(ups().alarm_file_setting, 3);
}

} // namespace
