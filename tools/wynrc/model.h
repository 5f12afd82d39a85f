// What a resource script declares: names, menus, windows and dialogs, strings, string lists,
// accelerators, icons, fonts.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "wyn/res.h"

namespace wynrc {

// Where a declaration came from, for messages.
struct Origin {
    std::string file;
    int line = 0;
};

// A name given to a number with #define, which the program's code uses as well.
struct Define {
    Origin origin;
    std::string name;
    int64_t value = 0;
};

struct MenuItem {
    std::string text; // in the script's form: "&" marks the mnemonic
    int16_t tag = 0;
    uint16_t flags = MENU_FLAG_ENABLED; // MENU_FLAG_*
    bool popup = false;
    std::vector<MenuItem> items;
};

struct Menu {
    Origin origin;
    std::string name; // set for a named menu, which only the native tables carry
    uint16_t id = 0;
    std::vector<MenuItem> items;
};

struct Control {
    int32_t type = 0; // WT_*
    uint16_t id = 0;
    std::string text;
    int16_t x = 0, y = 0, w = 0, h = 0;
    uint32_t flags = 0;  // CTL_FLAG_*
    uint16_t extra = 0;  // icon id of an icon control, font id of a text edit
    uint16_t margin = 0; // text edit
    uint16_t limit = 0;  // text edit
    uint32_t attrs = 0;  // text edit
};

struct Window {
    Origin origin;
    uint16_t id = 0;
    bool dialog = false;
    int32_t type = 0; // WT_*
    std::string caption;
    int16_t x = 0, y = 0, w = 0, h = 0;
    int32_t units = 0;  // WU_*
    uint32_t flags = 0; // window: WSF_*; dialog: dialog flags
    uint16_t menu = 0;
    std::vector<Control> controls;
};

struct AccelTable {
    Origin origin;
    uint16_t id = 0;
    std::vector<WYN_RES_ACCEL> keys;
};

struct Icon {
    Origin origin;
    std::string name; // empty for a numbered icon
    uint16_t id = 0;
    std::vector<std::string> xpm; // the pixmap's strings, header first
};

struct StringList {
    Origin origin;
    uint16_t id = 0;
    std::vector<std::string> items;
};

struct Font {
    Origin origin;
    uint16_t id = 0;
    int16_t size = 0;
    uint32_t style = 0;
    std::string family;
    std::string native;
};

struct Script {
    std::vector<Define> defines; // in the order the scripts give them
    std::vector<Menu> menus;
    std::vector<Window> windows;
    std::map<uint16_t, std::string> strings;
    std::vector<StringList> string_lists;
    std::vector<AccelTable> accels;
    std::vector<Icon> icons;
    std::vector<Font> fonts;
};

} // namespace wynrc
