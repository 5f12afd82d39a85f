// The resource compiler end to end: scripts in, database out, read back by the toolkit's reader;
// the header of the scripts' names; script faults reported with their file and line; the program's
// own scripts compile and hold what the program needs, under the names its code uses.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "portable/resdb.h"
#include "portable/resformat.h"
#include "portable/resread.h"

using namespace wyn::res;
namespace fs = std::filesystem;

namespace {

class Compiler : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/wynrc_testXXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    void write(const std::string& name, const std::string& text) {
        std::ofstream(dir_ + "/" + name) << text;
    }

    // Runs wynrc on the scripts; its exit status, with its messages in errors_.
    int run(const std::string& scripts, const std::string& extra = "") {
        const std::string command = std::string(VS_BIN_DIR) + "/wynrc --db " + dir_ +
                                    "/out.wdb -o " + dir_ + "/out.cpp --ids " + dir_ + "/ids.h " +
                                    extra + " " + scripts + " 2>" + dir_ + "/errors.txt";
        const int status = std::system(command.c_str());
        std::ifstream in(dir_ + "/errors.txt");
        std::ostringstream text;
        text << in.rdbuf();
        errors_ = text.str();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Compiles one script text and opens the database it produced.
    std::unique_ptr<Database> compile(const std::string& text) {
        write("t.rc", text);
        EXPECT_EQ(run(dir_ + "/t.rc"), 0) << errors_;
        Status status = Status::ok;
        auto db = Database::open_file(dir_ + "/out.wdb", status);
        EXPECT_EQ(status, Status::ok);
        return db;
    }

    // The message for a script that must fail.
    std::string fault(const std::string& text) {
        write("bad.rc", text);
        EXPECT_EQ(run(dir_ + "/bad.rc"), 1);
        return errors_.substr(errors_.find("bad.rc:"));
    }

    std::string read(const std::string& name) {
        std::ifstream in(dir_ + "/" + name);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::string generated() { return read("out.cpp"); }

    // The header's names and their values as a compiler reads them.
    std::map<std::string, long> names() {
        std::map<std::string, long> out;
        std::istringstream lines(read("ids.h"));
        for (std::string line; std::getline(lines, line);) {
            std::istringstream words(line);
            std::string define, name, value;
            if (!(words >> define >> name >> value) || define != "#define") continue;
            if (value.front() == '(') value = value.substr(1, value.size() - 2);
            EXPECT_TRUE(out.emplace(name, std::stol(value)).second) << name << " written twice";
        }
        return out;
    }

    std::string dir_;
    std::string errors_;
};

} // namespace

TEST_F(Compiler, MenuRoundTripsThroughTheReader) {
    auto db = compile(R"(
#define IDM_EXIT 1008
1000 MENU
BEGIN
    POPUP "&File", 1012
    BEGIN
        MENUITEM "Save ~As && Exit", 1001, CHECKED
        MENUITEM SEPARATOR
        MENUITEM "E&xit", IDM_EXIT, GRAYED
    END
    POPUP "&Help"
    BEGIN
        MENUITEM "&About...", 32459
    END
END
)");
    ASSERT_NE(db, nullptr);
    std::vector<uint8_t> bytes;
    ASSERT_EQ(db->read(kMenuBar, 1000, bytes), Status::ok);
    MENU_ITEM* tree = nullptr;
    ASSERT_EQ(parse_menu(bytes, tree), Status::ok);
    EXPECT_STREQ(tree[0].text, "~File");
    EXPECT_EQ(tree[0].tag, 1012);
    EXPECT_EQ(tree[0].mnemonic, 'F');
    const MENU_ITEM* file = tree[0].submenu;
    ASSERT_NE(file, nullptr);
    EXPECT_STREQ(file[0].text, "Save ~~As & Exit");
    EXPECT_EQ(file[0].flags, MENU_FLAG_ENABLED | MENU_FLAG_CHECKED | MENU_FLAG_CHECKABLE);
    EXPECT_EQ(file[1].flags, MENU_FLAG_SEPARATOR);
    EXPECT_NE(file[1].tag, 0);
    EXPECT_STREQ(file[2].text, "E~xit");
    EXPECT_EQ(file[2].tag, 1008);
    EXPECT_EQ(file[2].flags, 0u);
    EXPECT_EQ(file[3].tag, 0);
    // A pop-up without a tag still gets one, different from the separator's.
    EXPECT_GT(tree[1].tag, 0);
    EXPECT_NE(tree[1].tag, file[1].tag);
    EXPECT_EQ(tree[1].submenu[0].tag, 32459);
    free_menu(tree);

    // The native table keeps the script's own "&" form for the window system.
    EXPECT_NE(generated().find("{1, 1008, 0x0, \"E&xit\"}"), std::string::npos);
}

TEST_F(Compiler, DialogRoundTripsThroughTheReader) {
    auto db = compile(R"(
102 DIALOG 20, 30, 300, 176
CAPTION "Configuration"
BEGIN
    LTEXT "Down Time:", 4, 8, 10, 66, 9
    SCROLLBAR 5, 76, 10, 90, 9
    SCROLLBAR 6, 76, 30, 9, 90, SBS_VERT
    LTEXT "", 26, 170, 80, 18, 9, NOT WS_VISIBLE
    RADIOBUTTON "F", 32, 232, 48, 24, 10, CHECKED
    COMBOBOX 44, 232, 118, 60, 60, CBS_DROPDOWN | WS_DISABLED
    LISTBOX 1, -1, 8, 284, 94, LBS_MULTIPLESEL
    ICON 9012, 3, 10, 10
    DEFPUSHBUTTON "OK", 1, 100, 152, 52, 14
END
118 DIALOG 0, 0, 10, 10 MODELESS
CAPTION "Pop-up"
BEGIN
END
)");
    ASSERT_NE(db, nullptr);
    std::vector<uint8_t> bytes;
    ASSERT_EQ(db->read(kDialog, 102, bytes), Status::ok);
    WIN_DEF* def = nullptr;
    ASSERT_EQ(parse_win_def(bytes, true, nullptr, nullptr, def), Status::ok);
    EXPECT_EQ(def[0].type, WT_MODAL_DLG);
    EXPECT_STREQ(def[0].text, "Configuration");
    EXPECT_EQ(def[0].units, WU_DLG_UNITS);
    EXPECT_EQ(def[0].rct.right, 320);
    EXPECT_EQ(def[0].rct.bottom, 206);
    struct Want {
        int32_t type;
        uint32_t id;
        uint32_t flags;
    };
    const Want want[] = {
        {WT_TEXT, 4, 0},
        {WT_HSCROLL, 5, 0},
        {WT_VSCROLL, 6, 0},
        {WT_TEXT, 26, CTL_FLAG_INVISIBLE},
        {WT_RADIO_BUTTON, 32, CTL_FLAG_CHECKED},
        {WT_LIST_EDIT, 44, CTL_FLAG_DISABLED},
        {WT_LIST_BOX, 1, CTL_FLAG_MULTI_SEL},
        {WT_ICON, 3 | 9012u << 16, 0},
        {WT_PUSH_BUTTON, 1, CTL_FLAG_DEFAULT},
    };
    for (size_t i = 0; i < std::size(want); ++i) {
        EXPECT_EQ(def[i + 1].type, want[i].type) << i;
        EXPECT_EQ(def[i + 1].menu_or_id, want[i].id) << i;
        EXPECT_EQ(def[i + 1].u.ctl_flags, want[i].flags) << i;
    }
    EXPECT_EQ(def[7].rct.left, -1);
    EXPECT_EQ(def[7].rct.right, 283);
    EXPECT_EQ(def[10].type, WT_NONE);
    free_win_def(def, nullptr);

    ASSERT_EQ(db->read(kDialog, 118, bytes), Status::ok);
    ASSERT_EQ(parse_win_def(bytes, true, nullptr, nullptr, def), Status::ok);
    EXPECT_EQ(def[0].type, WT_MODELESS_DLG);
    EXPECT_EQ(def[1].type, WT_NONE);
    free_win_def(def, nullptr);
}

TEST_F(Compiler, StringListsKeyTablesAndFontsRoundTrip) {
    auto db = compile(R"(
5 STRINGLIST BEGIN "Sun", "Mon" "Tue with ""quotes""\n" END
9001 ACCELERATORS
BEGIN
    VK_F1, 32451, VIRTKEY
    "^C", 32028
    "x", 32027, VIRTKEY, CONTROL, SHIFT
END
6 FONT 10, "fixed", "NT_01", 1
STRINGTABLE BEGIN 30001, "OK" 1 "COM1" END
)");
    ASSERT_NE(db, nullptr);
    std::vector<uint8_t> bytes;
    std::vector<std::string> list;
    ASSERT_EQ(db->read(kStringList, 5, bytes), Status::ok);
    ASSERT_EQ(parse_string_list(bytes, list), Status::ok);
    EXPECT_EQ(list, (std::vector<std::string>{"Sun", "Mon", "Tue with \"quotes\"\n"}));

    std::vector<WYN_RES_ACCEL> keys;
    ASSERT_EQ(db->read(kKeyTable, 9001, bytes), Status::ok);
    ASSERT_EQ(parse_key_table(bytes, keys), Status::ok);
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].key, 0x70);
    EXPECT_EQ(keys[1].key, 3); // control-C as a character
    EXPECT_EQ(keys[1].flags, 0);
    EXPECT_EQ(keys[2].key, 'X');
    EXPECT_EQ(keys[2].flags, ACC_VIRTKEY | ACC_CONTROL | ACC_SHIFT);

    WYN_RES_FONT font;
    ASSERT_EQ(db->read(kFont, 6, bytes), Status::ok);
    ASSERT_EQ(parse_font(bytes, font), Status::ok);
    EXPECT_STREQ(font.family, "fixed");

    // String tables are native: sorted by id in the generated source.
    const std::string source = generated();
    EXPECT_LT(source.find("{1, \"COM1\"}"), source.find("{30001, \"OK\"}"));
}

TEST_F(Compiler, ScriptFaultsNameTheirLine) {
    EXPECT_EQ(fault("1000 MENU\nBEGIN\n  MENUITEM \"x\", 0\nEND\n"),
              "bad.rc:3: error: menu tag 0 is reserved for the end of a menu\n");
    EXPECT_EQ(fault("\n\n5 DIALOG 1, 2, 3 BEGIN\nEND\n"), "bad.rc:3: error: expected ','\n");
    EXPECT_EQ(fault("5 DIALOG 1, 2, 3, 4\nBEGIN\n\n  WIDGET 1\nEND\n"),
              "bad.rc:4: error: unknown control statement 'WIDGET'\n");
    EXPECT_EQ(fault("5 DIALOG 1, 2, 3, 4\nBEGIN\n  LTEXT \"a\", 1, 2, 3, 4, 5, BOLD\nEND\n"),
              "bad.rc:3: error: unknown flag 'BOLD'\n");
    EXPECT_EQ(fault("STRINGTABLE BEGIN\n 1 \"a\"\n 1 \"b\"\nEND\n"),
              "bad.rc:3: error: string 1 is defined twice\n");
    EXPECT_EQ(fault("STRINGTABLE BEGIN\n 1 \"open\nEND\n"),
              "bad.rc:2: error: string is not closed on its line\n");
    EXPECT_EQ(fault("1 MENU\nBEGIN\n  POPUP \"a\"\n  BEGIN\n"), "bad.rc:5: error: missing END\n");
    EXPECT_EQ(fault("70000 MENU BEGIN END"),
              "bad.rc:1: error: resource id 70000 is out of range 1 to 65535\n");
    EXPECT_EQ(fault("5 DIALOG 1, 2, 40000, 4 BEGIN END"),
              "bad.rc:1: error: coordinate 40000 is out of range -32768 to 32767\n");
    EXPECT_EQ(fault("2 MENU BEGIN MENUITEM \"a\", 1 END\n\n2 MENU BEGIN MENUITEM \"b\", 2 END"),
              "bad.rc:3: error: menu 2 is defined twice\n");
    EXPECT_EQ(fault("/* never closed\n\n"), "bad.rc:1: error: comment is not closed\n");
}

TEST_F(Compiler, HeaderNamesTheIdsOfEveryScriptOnce) {
    write("a.rc", R"(
#define MENU_MAIN 1000
#define CMD_EXIT 1008
#define DLG_SETUP 102
#define ID_OK 1
#define ID_LABEL -1
#define STR_COM1 1
#define STYLE_BITS 0xFFFFFFFF
MENU_MAIN MENU BEGIN MENUITEM "E&xit", CMD_EXIT END
DLG_SETUP DIALOG 0, 0, 10, 10 BEGIN
    LTEXT "Port", ID_LABEL, 1, 1, 5, 5
    DEFPUSHBUTTON "OK", ID_OK, 1, 1, 5, 5
END
STRINGTABLE BEGIN STR_COM1 "COM1" END
)");
    // A second script gives a shared name again, with the same value, to use it.
    write("b.rc", R"(
#define ID_OK 1
#define DLG_ABOUT 129
DLG_ABOUT DIALOG 0, 0, 10, 10 BEGIN DEFPUSHBUTTON "OK", ID_OK, 1, 1, 5, 5 END
)");
    ASSERT_EQ(run(dir_ + "/a.rc " + dir_ + "/b.rc"), 0) << errors_;
    EXPECT_EQ(read("ids.h"), "/* Names of the resource ids, generated by wynrc from a.rc, b.rc;\n"
                             "   edit the scripts instead. */\n"
                             "#pragma once\n"
                             "\n/* a.rc */\n"
                             "#define MENU_MAIN 1000\n"
                             "#define CMD_EXIT 1008\n"
                             "#define DLG_SETUP 102\n"
                             "#define ID_OK 1\n"
                             "#define ID_LABEL (-1)\n"
                             "#define STR_COM1 1\n"
                             "#define STYLE_BITS 4294967295u\n"
                             "\n/* b.rc */\n"
                             "#define DLG_ABOUT 129\n");

    // The header alone may be asked for.
    const std::string header = read("ids.h");
    fs::remove(dir_ + "/ids.h");
    const std::string command = std::string(VS_BIN_DIR) + "/wynrc --ids " + dir_ + "/ids.h " +
                                dir_ + "/a.rc " + dir_ + "/b.rc";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(read("ids.h"), header);
}

TEST_F(Compiler, UnchangedHeaderKeepsItsTime) {
    // Sources that include the header are rebuilt only when a name or its value changes.
    const std::string header = dir_ + "/ids.h";
    auto header_time = [&] {
        struct stat st {};
        EXPECT_EQ(stat(header.c_str(), &st), 0);
        return st.st_mtim.tv_sec;
    };
    write("t.rc", "#define DLG_SETUP 102\nDLG_SETUP DIALOG 0, 0, 10, 10 BEGIN END\n");
    ASSERT_EQ(run(dir_ + "/t.rc"), 0) << errors_;
    const struct timespec long_ago[2] = {{1000, 0}, {1000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, header.c_str(), long_ago, 0), 0);

    write("t.rc", "#define DLG_SETUP 102\nDLG_SETUP DIALOG 0, 0, 20, 10 BEGIN END\n");
    ASSERT_EQ(run(dir_ + "/t.rc"), 0) << errors_;
    EXPECT_EQ(header_time(), 1000);

    write("t.rc", "#define DLG_CONFIG 102\nDLG_CONFIG DIALOG 0, 0, 20, 10 BEGIN END\n");
    ASSERT_EQ(run(dir_ + "/t.rc"), 0) << errors_;
    EXPECT_NE(header_time(), 1000);
    EXPECT_NE(read("ids.h").find("#define DLG_CONFIG 102\n"), std::string::npos);
}

TEST_F(Compiler, NameGivenTwoValuesIsRefused) {
    EXPECT_EQ(fault("#define ID_OK 1\n\n#define ID_OK 2\n"),
              "bad.rc:3: error: name 'ID_OK' is defined as 2 here but as 1 at " + dir_ +
                  "/bad.rc:1\n");
    write("first.rc", "#define DLG_SETUP 102\n");
    write("bad.rc", "\n#define DLG_SETUP 103\n");
    EXPECT_EQ(run(dir_ + "/first.rc " + dir_ + "/bad.rc"), 1);
    EXPECT_EQ(errors_, dir_ + "/bad.rc:2: error: name 'DLG_SETUP' is defined as 103 here but as " +
                           "102 at " + dir_ + "/first.rc:1\n");
    EXPECT_EQ(fault("#define #ID 1\n"),
              "bad.rc:1: error: '#ID' is not a name a C header can carry\n");
}

TEST_F(Compiler, IconsMustBeWellFormedPixmaps) {
    write("ok.xpm",
          "/* XPM */\nstatic const char* ok[] = {\n\"2 1 1 1\",\n\". c None\",\n\"..\"\n};\n");
    write(
        "short.xpm",
        "/* XPM */\nstatic const char* s[] = {\n\"2 2 1 1\",\n\". c None\",\n\"..\",\n\".\"\n};\n");
    write("icons.rc", "NORMAL ICON \"ok.xpm\"\n");
    ASSERT_EQ(run(dir_ + "/icons.rc"), 0) << errors_;
    EXPECT_NE(generated().find("{\"NORMAL\", 0, 3, icon_0}"), std::string::npos);

    write("bad.rc", "\nBATTERY1 ICON \"short.xpm\"\n");
    EXPECT_EQ(run(dir_ + "/bad.rc"), 1);
    EXPECT_NE(errors_.find("bad.rc:2: error: "), std::string::npos) << errors_;
    EXPECT_NE(errors_.find("short.xpm:6: pixmap row 2 is not 2 pixels wide"), std::string::npos)
        << errors_;
}

TEST_F(Compiler, ProgramScriptsHoldWhatTheProgramNeeds) {
    const std::string res = std::string(VS_TEST_DATA) + "/../../resources/";
    ASSERT_EQ(run(res + "toolkit.rc " + res + "menus.rc " + res + "voltsentry.rc"), 0) << errors_;
    Status status = Status::ok;
    auto db = Database::open_file(dir_ + "/out.wdb", status);
    ASSERT_NE(db, nullptr);

    std::vector<uint8_t> bytes;
    ASSERT_EQ(db->read(kMenuBar, 1000, bytes), Status::ok);
    MENU_ITEM* tree = nullptr;
    ASSERT_EQ(parse_menu(bytes, tree), Status::ok);
    std::set<int> tags;
    for (const MENU_ITEM* bar = tree; bar->tag != 0; ++bar) {
        tags.insert(bar->tag);
        for (const MENU_ITEM* item = bar->submenu; item != nullptr && item->tag != 0; ++item)
            tags.insert(item->tag);
    }
    free_menu(tree);
    for (int tag : {1008, 1009, 1010, 1011, 1014, 1015, 1016,  1017,  1018,  1019,  1020, 1023,
                    1024, 1025, 1027, 1033, 1034, 1038, 32450, 32452, 32457, 32459, 32462})
        EXPECT_TRUE(tags.count(tag)) << tag;

    for (uint16_t id : {102, 118, 129, 9051, 9052, 9053, 9055, 9059}) {
        WIN_DEF* def = nullptr;
        ASSERT_EQ(db->read(kDialog, id, bytes), Status::ok) << id;
        ASSERT_EQ(parse_win_def(bytes, true, nullptr, nullptr, def), Status::ok) << id;
        free_win_def(def, nullptr);
    }
    ASSERT_EQ(db->read(kWindow, 101, bytes), Status::ok);
    ASSERT_EQ(db->read(kDialog, 102, bytes), Status::ok);
    WIN_DEF* config = nullptr;
    ASSERT_EQ(parse_win_def(bytes, true, nullptr, nullptr, config), Status::ok);
    std::set<uint32_t> ids;
    for (const WIN_DEF* e = config + 1; e->type != WT_NONE; ++e) ids.insert(e->menu_or_id & 0xFFFF);
    free_win_def(config, nullptr);
    for (uint32_t id : {1,  2,  5,  6,  9,  10, 13, 14, 17, 18, 21, 22, 25, 26, 29,
                        30, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44})
        EXPECT_TRUE(ids.count(id)) << id;

    const std::string source = generated();
    for (const char* text : {"{1, \"COM1\"}", "{12, \"Sat\"}", "{29, \"240\"}", "{30001, \"OK\"}",
                             "{30399, \"norva\"}", "{31406, \"unknown\"}", "{\"BATTERY7\", 0, ",
                             "{nullptr, 9012, ", "{9001, 7, accel_0}"})
        EXPECT_NE(source.find(text), std::string::npos) << text;

    // The names the program's and the toolkit's code use stand for the ids they must.
    const std::map<std::string, long> want = {
        {"MENU_MAIN", 1000},
        {"MENU_HELP", 32450},
        {"CMD_EXIT", 1008},
        {"CMD_SET_UPS_PARAMETERS", 1015},
        {"CMD_VIEW_LOCAL_UPS", 1020},
        {"CMD_VIEW_REMOTE_UPS", 1010},
        {"CMD_VIEW_NETWORK_ALERT_LOG", 1019},
        {"MENU_TAG_ABOUT_ALT", 32459},
        {"WIN_STATUS", 101},
        {"DLG_SETUP", 102},
        {"DLG_ALARM_POPUP", 118},
        {"DLG_ABOUT", 129},
        {"ID_OK", 1},
        {"ID_CANCEL", 2},
        {"ID_DOWN_TIME_BAR", 5},
        {"ID_POLL_BAR", 25},
        {"ID_LOGGING", 34},
        {"ID_PORT_LIST", 44},
        {"ID_ALARM_LIST", 1},
        {"STR_COM1", 1},
        {"STR_COM4", 4},
        {"STR_VOLTAGE_DEFAULT", 27},
        {"STR_VOLTAGE_240", 29},
        {"WYN_DLG_ASK", 9051},
        {"WYN_DLG_PROMPT", 9059},
        {"WYN_ID_ALTERNATE", 4},
        {"WYN_ID_PROMPT_EDIT", 5},
        {"WYN_STR_OK", 30001},
        {"WYN_STR_ALL_FILES_FILTER", 30017},
        {"WYN_ICON_PROGRAM", 9012},
        {"MENU_ACCEL_TABLE", 9001},
        {"MENU_TAG_HELP", 32451},
    };
    const std::map<std::string, long> have = names();
    for (const auto& [name, value] : want) {
        ASSERT_TRUE(have.count(name)) << name;
        EXPECT_EQ(have.at(name), value) << name;
    }
}
