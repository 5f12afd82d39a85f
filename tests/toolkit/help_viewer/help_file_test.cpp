// The help file's reader: the golden fixture reads back whole, every damaged form is refused
// with where it went wrong, and the program's built help file holds every topic it asks for.
#include "help_file.h"

#include "scratch_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace wynhelp;

namespace {

std::string fixture_bytes() {
    std::ifstream in(std::string(VS_TEST_DATA) + "/help/fixture.hlp", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

}  // namespace

TEST(help_file, the_fixture_reads_back_and_writes_out_byte_for_byte) {
    std::string bytes = fixture_bytes();
    std::string error;
    std::optional<help_book> book = help_read(bytes, error);
    ASSERT_TRUE(book) << error;
    EXPECT_EQ(book->title, "Fixture Help");
    EXPECT_EQ(book->contents, 32006u);
    ASSERT_EQ(book->topics.size(), 3u);
    const help_topic* thresholds = help_find(*book, 107);
    ASSERT_NE(thresholds, nullptr);
    EXPECT_EQ(thresholds->title, "Set Alarm Thresholds");
    EXPECT_EQ(thresholds->keywords,
              (std::vector<std::string>{"thresholds", "alarms", "voltage", "Alarm log"}));
    EXPECT_NE(thresholds->body.find("[How to use help](topic:32000)"), std::string::npos);
    EXPECT_EQ(help_find(*book, 108), nullptr);
    EXPECT_EQ(help_write(*book), bytes);
}

TEST(help_file, every_truncation_and_damage_is_refused_with_a_reason) {
    std::string bytes = fixture_bytes();
    std::string error;
    for (size_t n = 0; n < bytes.size(); ++n)
        EXPECT_FALSE(help_read(std::string_view(bytes).substr(0, n), error)) << "cut at " << n;

    const std::vector<std::pair<std::string, std::string>> damage = {
        {"WYNHLP 1", "WYNHLP 2"},
        {"title 12\r\n", "title 13\r\n"},
        {"title 12\r\n", "title 012\r\n"},
        {"topics 3", "topics 4"},
        {"topics 3", "topics 2"},
        {"topics 3", "topics 99999999999"},
        {"topic 107 20", "topic 107 2000000"},
        {"topic 107 20 35 246", "topic 107 20 35 9999999999"},
        {"topic 107 20 35 246", "topic 107 20 35 -1"},
        {"topic 107", "topic 0"},
        {"topic 107", "topic 32007"},  // after 32006 in a file sorted by number
        {"contents 32006", "contents 32005"},
        {"Set Alarm Thresholds", "Set Alarm\tThresholds"},
        {"thresholds;alarms", "threshold;;alarms"},
        {"voltage;Alarm log", "voltage;Alarm lo;"},
        {"end\r\n", "end\r\nmore"},
    };
    for (const auto& [from, to] : damage) {
        std::optional<help_book> book = help_read(replaced(bytes, from, to), error);
        EXPECT_FALSE(book) << from << " -> " << to;
        EXPECT_FALSE(error.empty()) << from << " -> " << to;
    }
    help_read(replaced(bytes, "topics 3", "topics 4"), error);
    EXPECT_NE(error.find("at byte"), std::string::npos) << error;
}

TEST(help_file, loading_says_whether_a_file_is_missing_or_damaged) {
    std::string error;
    EXPECT_FALSE(help_load("/nonexistent/norva.hlp", error));
    EXPECT_EQ(error.rfind("cannot be read: No such file", 0), 0u) << error;
    scratch_file damaged("damaged.hlp");
    const std::string& path = damaged.path();
    std::ofstream(path, std::ios::binary) << "WYNHLP 1\r\ntitle 5\r\n";
    EXPECT_FALSE(help_load(path, error));
    EXPECT_EQ(error.rfind("is damaged: ", 0), 0u) << error;
    EXPECT_TRUE(help_load(std::string(VS_TEST_DATA) + "/help/fixture.hlp", error)) << error;
}

// Needs the program's help (resources/help) built beside the program.
TEST(program_help, the_built_help_file_holds_every_topic_the_program_asks_for) {
    std::string error;
    std::optional<help_book> book = help_load(std::string(VS_BIN_DIR) + "/norva.hlp", error);
    ASSERT_TRUE(book) << "norva.hlp " << error;
    for (uint32_t topic : {95u, 99u, 104u, 107u, 108u, 111u, 112u, 115u, 117u, 32000u, 32001u,
                           32002u, 32005u, 32006u, 32007u, 32009u, 32020u, 32021u, 32022u, 32023u})
        EXPECT_NE(help_find(*book, topic), nullptr) << "topic " << topic;
    EXPECT_EQ(book->contents, 32006u);
}
