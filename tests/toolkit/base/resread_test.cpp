// Record readers: window and dialog definitions, menu trees, strings, key tables, fonts, images,
// and the exported functions over an installed program's resources.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "portable/res.h"
#include "portable/resformat.h"
#include "portable/resread.h"
#include "portable_reports.h"
#include "res_builder.h"
#include "wyn/res.h"

using namespace wyn::res;
using restest::Bytes;

namespace {

// One window entry as the file holds it.
Bytes& entry(Bytes& b, uint16_t cls, uint16_t id, int16_t x, int16_t y, int16_t w, int16_t h,
             uint16_t menu, uint32_t flags, uint16_t units, uint16_t extra,
             const std::string& title) {
    return b.u16(cls)
        .u16(id)
        .u16(uint16_t(x))
        .u16(uint16_t(y))
        .u16(uint16_t(w))
        .u16(uint16_t(h))
        .u16(menu)
        .u32(flags)
        .u16(units)
        .u16(extra)
        .str(title)
        .u16(0);
}

// A document window with a push button and a text edit, in dialog units.
Bytes window_record() {
    Bytes b;
    b.u16(3);
    entry(b, 0, 101, 10, 20, 300, 200, 1000, 0x040000 | 0x3, 2, 0,
          "Status");                                               // visible, two carried bits
    entry(b, 6, 1, 4, 8, 40, 12, 0, 0x0300 | 0x0001, 2, 0, "~OK"); // visible, enabled, default
    entry(b, 14, 7, 0, 30, 100, 50, 5, 0x11, 2, 0x0100, ""); // text edit, font 5, visible, greyed
    b.u32(0x22).u16(3).u16(500);
    return b;
}

Bytes menu_record() {
    Bytes b;
    b.u16(2);
    b.u16(1012).u16('F').u16(0x10).str("~File").u16(0);
    b.u16(2);
    b.u16(1008).u16('X').u16(0x4 | 0x2).str("E~xit").u16(1).u16(77).u16(3).raw({'a', 'b', 'c'});
    b.u16(31999).u16(0).u16(0x8 | 0x1).str("").u16(0);
    b.u16(32450).u16('H').u16(0x1).str("~Help").u16(0);
    return b;
}

struct wyn_font* fake_font(uint16_t id, Status& status) {
    status = Status::ok;
    return reinterpret_cast<struct wyn_font*>(uintptr_t(0x1000 + id));
}

} // namespace

TEST(ResRead, WindowRecordBecomesAWinDefArray) {
    WIN_DEF* def = nullptr;
    ASSERT_EQ(parse_win_def(window_record().b, false, fake_font, nullptr, def), Status::ok);
    EXPECT_EQ(def[0].type, WT_DOC);
    EXPECT_EQ(def[0].rct.left, 10);
    EXPECT_EQ(def[0].rct.top, 20);
    EXPECT_EQ(def[0].rct.right, 310);
    EXPECT_EQ(def[0].rct.bottom, 220);
    EXPECT_EQ(def[0].units, WU_DLG_UNITS);
    EXPECT_EQ(def[0].menu_or_id, 1000u);
    EXPECT_EQ(def[0].flags, 0x3u); // visible in the file: not invisible; the low bits pass through
    EXPECT_STREQ(def[0].text, "Status");

    EXPECT_EQ(def[1].type, WT_PUSH_BUTTON);
    EXPECT_EQ(def[1].menu_or_id, 1u);
    EXPECT_EQ(def[1].u.ctl_flags, CTL_FLAG_DEFAULT);
    EXPECT_STREQ(def[1].text, "~OK");

    EXPECT_EQ(def[2].type, WT_TEXT_EDIT);
    EXPECT_EQ(def[2].u.ctl_flags, CTL_FLAG_DISABLED); // the extra word carries its control flags
    EXPECT_EQ(def[2].tx_attrs, 0x33u);
    EXPECT_EQ(def[2].flags, 3u | 500u << 16);
    EXPECT_EQ(def[2].font, reinterpret_cast<struct wyn_font*>(uintptr_t(0x1005)));
    EXPECT_EQ(def[3].type, WT_NONE);
    free_win_def(def, nullptr);
}

TEST(ResRead, DamagedWindowRecordsAreRefused) {
    const Bytes good = window_record();
    WIN_DEF* def = nullptr;
    auto status_of = [&](std::vector<uint8_t> bytes, bool dialog = false) {
        const Status s = parse_win_def(bytes, dialog, fake_font, nullptr, def);
        EXPECT_EQ(def == nullptr, s != Status::ok);
        free_win_def(def, nullptr);
        return s;
    };
    EXPECT_EQ(status_of(good.b), Status::ok);
    EXPECT_EQ(status_of(good.b, true), Status::corrupt); // a document window is no dialog
    for (size_t cut = 0; cut < good.b.size(); cut += 3)
        EXPECT_EQ(status_of(std::vector<uint8_t>(good.b.begin(), good.b.begin() + long(cut))),
                  Status::corrupt)
            << cut;
    auto trailing = good.b;
    trailing.push_back(0);
    EXPECT_EQ(status_of(trailing), Status::corrupt);

    auto bad_class = good.b;
    bad_class[3] = 19; // entry 0's class code (19 is unused)
    EXPECT_EQ(status_of(bad_class), Status::corrupt);

    Bytes control_first;
    entry(control_first.u16(1), 6, 1, 0, 0, 10, 10, 0, 0, 0, 0, "x");
    EXPECT_EQ(status_of(control_first.b), Status::corrupt);

    Bytes bad_units;
    entry(bad_units.u16(1), 0, 1, 0, 0, 10, 10, 0, 0, 3, 0, "x");
    EXPECT_EQ(status_of(bad_units.b), Status::corrupt);

    Bytes overflow;
    entry(overflow.u16(1), 0, 1, 30000, 0, 10000, 10, 0, 0, 0, 0, "x");
    EXPECT_EQ(status_of(overflow.b), Status::corrupt);

    Bytes huge_count;
    entry(huge_count.u16(60000), 0, 1, 0, 0, 10, 10, 0, 0, 0, 0, "x");
    EXPECT_EQ(status_of(huge_count.b), Status::corrupt);
}

TEST(ResRead, MenuRecordBecomesATreeWithTranslatedFlags) {
    MENU_ITEM* tree = nullptr;
    ASSERT_EQ(parse_menu(menu_record().b, tree), Status::ok);
    EXPECT_EQ(tree[0].tag, 1012);
    EXPECT_STREQ(tree[0].text, "~File");
    EXPECT_EQ(tree[0].mnemonic, 'F');
    EXPECT_EQ(tree[0].flags, MENU_FLAG_ENABLED);
    ASSERT_NE(tree[0].submenu, nullptr);
    const MENU_ITEM* file = tree[0].submenu;
    EXPECT_EQ(file[0].tag, 1008);
    EXPECT_EQ(file[0].flags,
              MENU_FLAG_ENABLED | MENU_FLAG_CHECKED | MENU_FLAG_CHECKABLE); // file 4 -> 2, 2 -> 4
    EXPECT_EQ(file[1].flags, MENU_FLAG_SEPARATOR);                          // file 1: disabled
    EXPECT_EQ(file[2].tag, 0);
    EXPECT_EQ(tree[1].tag, 32450);
    EXPECT_EQ(tree[1].submenu, nullptr);
    EXPECT_EQ(tree[2].tag, 0);
    free_menu(tree);

    const Bytes record = menu_record();
    std::span<const uint8_t> data;
    ASSERT_EQ(find_menu_data(record.b, 1008, 77, data), Status::ok);
    EXPECT_EQ(std::string(data.begin(), data.end()), "abc");
    EXPECT_EQ(find_menu_data(record.b, 1008, 78, data), Status::not_found);
    EXPECT_EQ(find_menu_data(record.b, 1009, 77, data), Status::not_found);
}

TEST(ResRead, DamagedMenusAreRefused) {
    MENU_ITEM* tree = nullptr;
    const Bytes good = menu_record();
    for (size_t cut = 0; cut < good.b.size(); ++cut) {
        EXPECT_NE(
            parse_menu(std::vector<uint8_t>(good.b.begin(), good.b.begin() + long(cut)), tree),
            Status::ok);
        EXPECT_EQ(tree, nullptr);
    }
    // An item tagged 0 would end its array early.
    Bytes zero_tag;
    zero_tag.u16(1).u16(0).u16(0).u16(0).str("x").u16(0);
    EXPECT_EQ(parse_menu(zero_tag.b, tree), Status::corrupt);

    // Submenus nested past the limit, each promising another level.
    Bytes deep;
    for (int level = 0; level < 40; ++level) deep.u16(1).u16(1).u16(0).u16(0x10).str("").u16(0);
    deep.u16(0);
    EXPECT_EQ(parse_menu(deep.b, tree), Status::corrupt);
    std::span<const uint8_t> data;
    EXPECT_EQ(find_menu_data(deep.b, 2, 1, data), Status::not_found);

    Bytes huge_count;
    huge_count.u16(65535).u16(1).u16(0).u16(0).str("x").u16(0);
    EXPECT_EQ(parse_menu(huge_count.b, tree), Status::corrupt);
}

TEST(ResRead, StringsKeysFontsAndImages) {
    std::string text;
    EXPECT_EQ(parse_string(Bytes().str("hello").b, text), Status::ok);
    EXPECT_EQ(text, "hello");
    EXPECT_EQ(parse_string(Bytes().u16(10).raw({'a'}).b, text), Status::corrupt);

    std::vector<std::string> list;
    EXPECT_EQ(parse_string_list(Bytes().str("COM1").str("").str("COM3").b, list), Status::ok);
    EXPECT_EQ(list, (std::vector<std::string>{"COM1", "", "COM3"}));
    EXPECT_EQ(parse_string_list(Bytes().str("COM1").u16(9).b, list), Status::corrupt);

    std::vector<WYN_RES_ACCEL> keys;
    ASSERT_EQ(parse_key_table(Bytes().u16(1).u16(0x70).u16(32451).u16(ACC_VIRTKEY).b, keys),
              Status::ok);
    EXPECT_EQ(keys[0].key, 0x70);
    EXPECT_EQ(keys[0].cmd, 32451);
    EXPECT_EQ(keys[0].flags, ACC_VIRTKEY);
    EXPECT_EQ(parse_key_table(Bytes().u16(2).u16(1).u16(2).u16(3).b, keys), Status::corrupt);

    WYN_RES_FONT font;
    ASSERT_EQ(parse_font(Bytes().u16(10).u32(1).str("fixed").str("NT_01").b, font), Status::ok);
    EXPECT_EQ(font.size, 10);
    EXPECT_STREQ(font.family, "fixed");
    EXPECT_STREQ(font.native, "NT_01");
    EXPECT_EQ(parse_font(Bytes().u16(10).u32(1).str(std::string(64, 'x')).str("").b, font),
              Status::corrupt);

    const Bytes image =
        Bytes().u32(1).str("img").u16(2).u16(5).str("five").u16(6).str("six").u32(0xABCD);
    uint32_t word = 0;
    std::span<const uint8_t> data;
    bool found = false;
    ASSERT_EQ(parse_image(image.b, word, 6, &data, &found), Status::ok);
    EXPECT_EQ(word, 0xABCDu);
    ASSERT_TRUE(found);
    EXPECT_EQ(std::string(data.begin(), data.end()), "six");
}

namespace {

// A program's resources as the generated source would install them.
struct Program {
    Program() {
        db = restest::build_db({{kWindow, 101, window_record().b},
                                {kMenuBar, 1000, menu_record().b},
                                {kStringList, 5, Bytes().str("a").str("b").b},
                                {kFont, 5, Bytes().u16(9).u32(0).str("helvetica").str("").b}});
        descriptor = std::to_string(db.size()) + " 10001 512";
        for (size_t at = 0; at < db.size(); at += 512)
            raw.push_back({uint16_t(10001 + at / 512),
                           uint32_t(std::min<size_t>(512, db.size() - at)), &db[at]});
        raw.push_back({10000, uint32_t(descriptor.size()),
                       reinterpret_cast<const unsigned char*>(descriptor.c_str())});
        module.raw = raw.data();
        module.raw_count = raw.size();
        module.strings = strings;
        module.string_count = 3;
        module.icons = icons;
        module.icon_count = 2;
        wynwi_set_resources(&module);
    }
    ~Program() { wynwi_set_resources(nullptr); }
    std::vector<uint8_t> db;
    std::string descriptor;
    std::vector<WYN_RES_RAW> raw;
    WYN_RES_STRING strings[3] = {{1, "COM1"}, {2, "COM2"}, {30001, "OK"}};
    const char* const xpm[1] = {"1 1 1 1"};
    WYN_RES_ICON icons[2] = {{"NORMAL", 0, 1, xpm}, {nullptr, 9012, 1, xpm}};
    WYN_RES_MODULE module{};
};

struct wyn_font* make_font(const WYN_RES_FONT* font) {
    return reinterpret_cast<struct wyn_font*>(new WYN_RES_FONT(*font));
}
void free_font(struct wyn_font* font) {
    delete reinterpret_cast<WYN_RES_FONT*>(font);
}

} // namespace

TEST(ResApi, ReadsDefinitionsMenusAndStringsOfTheInstalledProgram) {
    ReportCapture capture;
    Program program;
    set_font_hooks(make_font, free_font);
    WIN_DEF* def = wynv_res_get_win_def(101);
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(def[2].type, WT_TEXT_EDIT);
    ASSERT_NE(def[2].font, nullptr);
    EXPECT_STREQ(reinterpret_cast<WYN_RES_FONT*>(def[2].font)->family, "helvetica");
    wynv_res_free_win_def(def);
    set_font_hooks(nullptr, nullptr);
    EXPECT_EQ(wynv_res_get_win_def(101), nullptr); // its font cannot be made now
    EXPECT_TRUE(ReportCapture::only(0x1530003, PORTABLE_ERROR));
    EXPECT_EQ(wynv_res_get_dlg_def(101), nullptr);

    MENU_ITEM* menu = wynv_res_get_menu(1000);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu[0].submenu[0].tag, 1008);
    wynv_res_free_menu_tree(menu);
    char buf[8];
    EXPECT_EQ(wynv_res_get_menu_data(1000, 1008, 77, buf, sizeof buf), 3);
    EXPECT_EQ(wynv_res_get_menu_data(1000, 1008, 78, buf, sizeof buf), -1);

    EXPECT_STREQ(wynv_res_get_str(2, buf, sizeof buf), "COM2");
    EXPECT_STREQ(wynv_res_get_str(30001, buf, 2), "O"); // cut to the buffer
    EXPECT_EQ(wynv_res_get_str(3, buf, sizeof buf), nullptr);
    std::vector<std::string> list;
    EXPECT_TRUE(string_range(1, 2, list));
    EXPECT_FALSE(string_range(1, 3, list));
    SLIST ports = wynv_res_get_str_list(1, 2);
    ASSERT_NE(ports, nullptr);
    long data = 0;
    EXPECT_EQ(wynv_slist_count(ports), 2);
    EXPECT_STREQ(wynv_slist_get_elt(ports, 1, &data), "COM2");
    EXPECT_EQ(data, 2);
    wynv_slist_destroy(ports);
    EXPECT_EQ(wynv_res_get_str_list(2, 3), nullptr);
    EXPECT_TRUE(db_string_list(5, list));
    EXPECT_EQ(list, (std::vector<std::string>{"a", "b"}));

    ASSERT_NE(wynv_res_find_icon("normal", 0), nullptr);
    ASSERT_NE(wynv_res_find_icon(nullptr, 9012), nullptr);
    EXPECT_EQ(wynv_res_find_icon("battery1", 0), nullptr);
}

TEST(ResApi, ANamedProgramWithoutDatabaseFindsNothing) {
    ReportCapture capture;
    WYN_RES_MODULE empty{};
    wynwi_set_resources(&empty);
    EXPECT_FALSE(wynv_res_open());
    EXPECT_TRUE(ReportCapture::only(0x1540001, PORTABLE_ERROR));
    EXPECT_EQ(wynv_res_get_menu(1000), nullptr);
    EXPECT_EQ(wynv_res_get_key_table(9001, nullptr, 0), -1);
    wynwi_set_resources(nullptr);
}
