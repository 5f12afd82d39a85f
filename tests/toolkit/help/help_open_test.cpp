// Opening and closing help files: where a file is looked for, its extension, its association
// file, the default Help-menu associations and the event hook the first open installs.
#include <unistd.h>

#include <wyn/attr.h>
#include <wyn/help_engine.h>

#include "help_support.h"

namespace {

using HelpOpen = HelpTest;

std::string path_of(HELP_INFO help) {
    return help ? help->path : std::string("(none)");
}

} // namespace

TEST_F(HelpOpen,
       a_relative_name_is_looked_for_beside_its_directory_then_here_then_in_HELP_WYNPATH_PATH) {
    const std::string given = subdir("given");
    const std::string here = subdir("here");
    const std::string in_help = subdir("h1");
    const std::string in_wynpath = subdir("w1");
    const std::string in_path = subdir("p1");
    ASSERT_EQ(chdir(here.c_str()), 0);
    set_env("HELP", scratch_ + "/nothing:" + in_help);
    set_env("WYNPATH", scratch_ + "/none;" + in_wynpath);
    set_env("PATH", "/nonexistent:" + in_path);

    write("p1/norva.hlp");
    EXPECT_EQ(path_of(open(given, "norva")), in_path + "/norva.hlp");
    write("w1/norva.hlp");
    EXPECT_EQ(path_of(open(given, "norva")), in_wynpath + "/norva.hlp");
    write("h1/norva.hlp");
    EXPECT_EQ(path_of(open(given, "norva")), in_help + "/norva.hlp");
    write("here/norva.hlp");
    EXPECT_EQ(path_of(open(given, "norva")), here + "/norva.hlp");
    write("given/norva.hlp");
    EXPECT_EQ(path_of(open(given, "norva")), given + "/norva.hlp");
    // A directory of the name is no help file.
    subdir("given/other.hlp");
    EXPECT_EQ(open(given, "other"), nullptr);
}

TEST_F(HelpOpen, an_absolute_name_is_never_searched_for) {
    const std::string in_help = subdir("h1");
    set_env("HELP", in_help);
    write("h1/norva.hlp");
    ASSERT_EQ(chdir(in_help.c_str()), 0);
    EXPECT_EQ(open("", scratch_ + "/missing/norva.hlp"), nullptr);
    EXPECT_EQ(open("", "./missing/norva"), nullptr);
    EXPECT_EQ(open("", "C:\\missing\\norva.hlp"), nullptr);
    EXPECT_EQ(open("", "\\missing\\norva"), nullptr);
    EXPECT_TRUE(reported_ids().empty());
    // Found where it names, "\\" separating as "/" does.
    EXPECT_EQ(path_of(open("", "./norva")), "./norva.hlp");
    EXPECT_EQ(path_of(open("", "\\" + scratch_.substr(1) + "\\h1\\norva")), in_help + "/norva.hlp");
}

TEST_F(HelpOpen, any_extension_given_is_replaced_by_hlp) {
    write("norva.hlp");
    write("norva.txt");
    EXPECT_EQ(path_of(open(scratch_, "norva.txt")), scratch_ + "/norva.hlp");
    EXPECT_EQ(path_of(open(scratch_ + "/", "norva")), scratch_ + "/norva.hlp");
    EXPECT_EQ(open(scratch_, "absent.hlp"), nullptr);
}

TEST_F(HelpOpen,
       an_association_file_with_a_bad_line_gives_no_file_associations_but_the_file_opens) {
    write("norva.hlp");
    write("norva.csa", "# comment\n\nC 5\nW 101 0 500\n");
    HELP_INFO help = open(scratch_, "norva");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->file_table.count, 0);
    EXPECT_EQ(reported_ids(), std::vector<WYN_MSG_ID>{0x597171});
    startApp();
    WINDOW win = makeChild(RCT{10, 10, 100, 100});
    WIN_DEF def[] = {
        {WT_PLAIN, {10, 10, 100, 100}, nullptr, WU_PIXELS, nullptr, 0, {}, 0, nullptr, 0}, {}};
    EXPECT_FALSE(wynv_help_assoc_all(help, win, 101, def));
    EXPECT_EQ(wynv_help_get_win_assoc(help, win), 0);
}

TEST_F(HelpOpen, a_missing_association_file_is_no_fault) {
    write("norva.hlp");
    ASSERT_NE(open(scratch_, "norva"), nullptr);
    EXPECT_TRUE(reported_ids().empty());
}

TEST_F(HelpOpen, the_default_help_menu_associations_hold_for_every_window_unless_flag_4) {
    write("norva.hlp");
    HELP_INFO help = open(scratch_, "norva");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(wynv_help_get_menu_assoc(help, nullptr, 32451), 32020);
    EXPECT_EQ(wynv_help_get_menu_assoc(help, nullptr, 32455), 32001);
    EXPECT_EQ(wynv_help_get_menu_assoc(help, nullptr, 32459), 32007);
    EXPECT_EQ(wynv_help_get_menu_assoc(help, nullptr, 32456), 0);
    HELP_INFO bare = open(scratch_, "norva", HELP_OPEN_NO_MENU_ASSOC);
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(wynv_help_get_menu_assoc(bare, nullptr, 32455), 0);
}

TEST_F(HelpOpen, the_first_open_installs_the_event_hook_and_closing_that_file_clears_its_value) {
    write("norva.hlp");
    EXPECT_EQ(wynv_help_get_flavor(), 0);
    HELP_INFO first = open(scratch_, "norva");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(wynv_help_get_flavor(), HELP_FLAVOR_NATIVE);
    EXPECT_NE(wynk_vobj_get_attr(nullptr, ATTR_EVENT_HOOK), 0);
    EXPECT_EQ(wynk_vobj_get_attr(nullptr, ATTR_EVENT_HOOK_DATA),
              reinterpret_cast<ATTR_VALUE>(first));
    HELP_INFO second = open(scratch_, "norva");
    EXPECT_EQ(wynk_vobj_get_attr(nullptr, ATTR_EVENT_HOOK_DATA),
              reinterpret_cast<ATTR_VALUE>(first));

    EXPECT_TRUE(wynv_help_close_helpfile(first));
    EXPECT_EQ(wynk_vobj_get_attr(nullptr, ATTR_EVENT_HOOK_DATA), 0);
    EXPECT_FALSE(wynv_help_is_valid_info(first));
    EXPECT_FALSE(wynv_help_close_helpfile(first));
    EXPECT_TRUE(wynv_help_is_valid_info(second));
    // Closing quits the viewer for the file, also without a utility window to own it.
    ASSERT_FALSE(calls().empty());
    EXPECT_EQ(calls().back().command, uint32_t{WYN_HELP_QUIT});
    EXPECT_EQ(calls().back().path, scratch_ + "/norva.hlp");
}

TEST_F(HelpOpen, an_application_hook_already_installed_is_left_alone) {
    const auto own = [](void*, WINDOW, EVENT*) -> BOOLEAN { return TRUE; };
    const auto own_hook = reinterpret_cast<ATTR_VALUE>(+own);
    wynv_vobj_set_attr(nullptr, ATTR_EVENT_HOOK, own_hook);
    write("norva.hlp");
    ASSERT_NE(open(scratch_, "norva"), nullptr);
    EXPECT_EQ(wynk_vobj_get_attr(nullptr, ATTR_EVENT_HOOK), own_hook);
    EXPECT_EQ(wynk_vobj_get_attr(nullptr, ATTR_EVENT_HOOK_DATA), 0);
}

TEST(help_change_extension, the_extension_after_the_last_separator_is_replaced) {
    char out[256];
    EXPECT_STREQ(helpu_change_extension(const_cast<char*>("/a.b/norva.hlp"), out, ".csa"),
                 "/a.b/norva.csa");
    EXPECT_STREQ(helpu_change_extension(const_cast<char*>("/a.b/norva"), out, "csa"),
                 "/a.b/norva.csa");
    EXPECT_STREQ(helpu_change_extension(const_cast<char*>("dir\\x.y\\name"), out, ".hlp"),
                 "dir\\x.y\\name.hlp");
    EXPECT_STREQ(helpu_change_extension(const_cast<char*>("C:name.txt"), out, ".hlp"),
                 "C:name.hlp");
    char in_place[256] = "help/file.old";
    EXPECT_EQ(helpu_change_extension(in_place, nullptr, ".new"), in_place);
    EXPECT_STREQ(in_place, "help/file.new");
    // A result beyond the buffer is cut, never written past it.
    char longest[256];
    std::string name(254, 'n');
    std::snprintf(longest, sizeof longest, "%s", name.c_str());
    EXPECT_EQ(std::string(helpu_change_extension(longest, out, ".hlp")).size(), 255u);
}

TEST_F(HelpOpen, a_file_left_open_goes_with_the_toolkit) {
    // The sanitizers' leak check is what watches this one.
    write("norva.hlp");
    const FILE_SPEC fs = file_spec(scratch_, "norva");
    HELP_INFO help = wynv_help_open_helpfile(&fs, 0);
    ASSERT_NE(help, nullptr);
    wynv_help_set_menu_assoc(help, nullptr, 100, 5, 0);
}
