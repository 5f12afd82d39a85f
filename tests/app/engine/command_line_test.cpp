// Command-line tokens: debug levels, forced set-up, the port search switch and the hardware id.
#include "engine/command_line.h"

#include <gtest/gtest.h>
#include <string>

namespace {

command_line_options parsed(const char* text) {
    command_line_options o{0, 1, 1, "QRW0001"};
    parse_command_line(text, o);
    return o;
}

TEST(command_line, comm_debug_with_nopnp_gives_level_four_and_no_search) {
    const command_line_options o = parsed("/DEBUG:COMM /NOPNP");
    EXPECT_EQ(o.debug_level, 4);
    EXPECT_EQ(o.pnp_search, 0);
    EXPECT_EQ(o.setup_done, 1);
    EXPECT_STREQ(o.hardware_id, "QRW0001");
}

TEST(command_line, debug_setup_and_nopnp_ignore_case) {
    const command_line_options o = parsed("/debug:Driver /nopnp /Setup");
    EXPECT_EQ(o.debug_level, 16);
    EXPECT_EQ(o.pnp_search, 0);
    EXPECT_EQ(o.setup_done, 0);
}

TEST(command_line, every_debug_form_has_its_level) {
    const std::pair<const char*, int> forms[] = {
        {"/DEBUG:ALL", 255}, {"/DEBUG:ERROR", 1},   {"/DEBUG:TRACE", 2},    {"/DEBUG:COMM", 4},
        {"/DEBUG:PIPE", 8},  {"/DEBUG:DRIVER", 16}, {"/DEBUG:SERVICE", 32}, {"/DEBUG:APP", 64}};
    for (const auto& [token, level] : forms) EXPECT_EQ(parsed(token).debug_level, level) << token;
}

TEST(command_line, last_debug_token_wins_and_unknown_forms_change_nothing) {
    EXPECT_EQ(parsed("/DEBUG:ALL /DEBUG:PIPE").debug_level, 8);
    EXPECT_EQ(parsed("/DEBUG:PIPE /DEBUG:BOGUS /DEBUG:").debug_level, 8);
    EXPECT_EQ(parsed("/DEBUG:COMMS DEBUG:ALL").debug_level, 0);
}

TEST(command_line, pnp_prefix_is_exact_and_the_id_is_cut_to_eight) {
    EXPECT_STREQ(parsed("/PNP:ABC0042").hardware_id, "ABC0042");
    EXPECT_STREQ(parsed("/pnp:ABC0042").hardware_id, "QRW0001");
    EXPECT_STREQ(parsed("/Pnp:ABC0042").hardware_id, "QRW0001");
    EXPECT_STREQ(parsed("/PNP:123456789ABC").hardware_id, "12345678");
    EXPECT_STREQ(parsed("/PNP:").hardware_id, "QRW0001");
}

TEST(command_line, tokens_are_split_at_runs_of_blanks_and_tabs) {
    const command_line_options o = parsed("  \t/NOPNP\t\t/DEBUG:APP   /PNP:X1 ");
    EXPECT_EQ(o.pnp_search, 0);
    EXPECT_EQ(o.debug_level, 64);
    EXPECT_STREQ(o.hardware_id, "X1");
    // A token only counts whole: an option glued to another is neither.
    EXPECT_EQ(parsed("/NOPNP/SETUP").pnp_search, 1);
}

TEST(command_line, empty_and_missing_text_change_nothing) {
    for (const char* text : {"", "   ", static_cast<const char*>(nullptr)}) {
        const command_line_options o = parsed(text);
        EXPECT_EQ(o.debug_level, 0);
        EXPECT_EQ(o.setup_done, 1);
        EXPECT_EQ(o.pnp_search, 1);
        EXPECT_STREQ(o.hardware_id, "QRW0001");
    }
}

TEST(command_line, a_long_command_line_is_read_to_its_end) {
    std::string text;
    for (int i = 0; i < 200; ++i) text += "/DEBUG:ERROR ";
    text += "/DEBUG:SERVICE";
    EXPECT_EQ(parsed(text.c_str()).debug_level, 32);
}

} // namespace
