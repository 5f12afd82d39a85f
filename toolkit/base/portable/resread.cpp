// Readers of database records: window and dialog definitions, menu trees, strings, key tables,
// fonts, images.
#include "portable/resread.h"

#include <cstring>

#include "portable/resformat.h"
#include "wyn/mem.h"

namespace wyn::res {

uint16_t Cursor::u16() {
    const auto b = take(2);
    return b.size() == 2 ? be16(b.data()) : 0;
}

uint32_t Cursor::u32() {
    const auto b = take(4);
    return b.size() == 4 ? be32(b.data()) : 0;
}

std::span<const uint8_t> Cursor::take(size_t n) {
    if (!ok_ || n > bytes_.size() - pos_) {
        ok_ = false;
        return {};
    }
    const auto out = bytes_.subspan(pos_, n);
    pos_ += n;
    return out;
}

std::string Cursor::counted() {
    const auto b = take(u16());
    return std::string(b.begin(), b.end());
}

void Cursor::extensions(int32_t want_tag, std::span<const uint8_t>* found, bool* has) {
    const uint16_t count = u16();
    for (uint16_t i = 0; i < count && ok_; ++i) {
        const uint16_t tag = u16();
        const auto data = take(u16());
        if (ok_ && want_tag >= 0 && tag == want_tag && has != nullptr && !*has) {
            *found = data;
            *has = true;
        }
    }
}

namespace {

// One window or dialog entry as the file holds it.
struct FileEntry {
    uint16_t cls = 0;
    uint16_t id = 0;
    int16_t left = 0, top = 0, width = 0, height = 0;
    uint16_t menu_or_icon = 0;
    uint32_t flags = 0;
    uint16_t units = 0;
    uint16_t extra = 0;
    std::string title;
    uint32_t tx_attrs = 0;
    uint16_t margin = 0, limit = 0;
};

// Smallest entry: nine numbers, a 32-bit flag word, an empty title and an empty extension list.
constexpr size_t kMinEntryBytes = 26;
constexpr size_t kMinMenuItemBytes = 10;
constexpr int16_t kDefaultCoord = -32767; // "let the window system choose"

void read_entry(Cursor& c, FileEntry& e, int32_t ext_tag, std::span<const uint8_t>* data,
                bool* has) {
    e.cls = c.u16();
    e.id = c.u16();
    e.left = c.s16();
    e.top = c.s16();
    e.width = c.s16();
    e.height = c.s16();
    e.menu_or_icon = c.u16();
    e.flags = c.u32();
    e.units = c.u16();
    e.extra = c.u16();
    e.title = c.counted();
    c.extensions(ext_tag, data, has);
    if (e.cls == kTextEditClass) {
        e.tx_attrs = c.u32();
        e.margin = c.u16();
        e.limit = c.u16();
    }
}

char* dup_text(const std::string& text) {
    char* out = static_cast<char*>(wynv_mem_alloc(text.size() + 1));
    if (out != nullptr) {
        std::memcpy(out, text.data(), text.size());
        out[text.size()] = '\0';
    }
    return out;
}

bool is_window_type(int32_t type) {
    return type >= WT_DOC && type <= WT_MODELESS_DLG;
}

// Left + width (and top + height) must stay a 16-bit coordinate; a width of -32767 asks for the
// default size.
bool far_edge(int16_t near, int16_t extent, int16_t& out) {
    if (extent == kDefaultCoord) {
        out = kDefaultCoord;
        return true;
    }
    const int32_t edge = int32_t(near) + extent;
    if (edge < INT16_MIN || edge > INT16_MAX) return false;
    out = int16_t(edge);
    return true;
}

Status fill_entry(const FileEntry& e, size_t index, bool dialog, const FontMaker& fonts,
                  WIN_DEF& out) {
    if (e.cls >= std::size(kClassToType) || kClassToType[e.cls] == 0 || e.units > WU_DLG_UNITS)
        return Status::corrupt;
    out.type = kClassToType[e.cls];
    // The first entry is the window or dialog itself, the others its controls.
    const bool window = is_window_type(out.type);
    if (window != (index == 0)) return Status::corrupt;
    if (index == 0 && dialog != (out.type == WT_MODAL_DLG || out.type == WT_MODELESS_DLG))
        return Status::corrupt;
    out.rct.left = e.left;
    out.rct.top = e.top;
    if (!far_edge(e.left, e.width, out.rct.right) || !far_edge(e.top, e.height, out.rct.bottom))
        return Status::corrupt;
    out.units = e.units;
    out.text = dup_text(e.title);
    if (out.text == nullptr) return Status::no_memory;
    if (index == 0 && dialog) {
        out.menu_or_id = translate_flags(kDialogFlags, e.flags);
    } else if (index == 0) {
        out.menu_or_id = e.menu_or_icon;
        out.flags = translate_flags(kWindowFlags, e.flags);
    } else if (out.type == WT_TEXT_EDIT) {
        out.menu_or_id = e.id;
        out.u.ctl_flags = translate_flags(kControlFlags, e.extra);
        out.tx_attrs =
            translate_flags(kTextEditFlags, e.flags) | translate_flags(kTextEditFlags, e.tx_attrs);
        out.flags = uint32_t(e.margin) | uint32_t(e.limit) << 16;
        // A text edit names its font by resource id in the word other entries use for a menu or
        // icon.
        if (e.menu_or_icon != 0) {
            Status status = Status::not_found;
            out.font = fonts ? fonts(e.menu_or_icon, status) : nullptr;
            if (out.font == nullptr) return status == Status::ok ? Status::corrupt : status;
        }
    } else {
        out.menu_or_id = e.id | (out.type == WT_ICON ? uint32_t(e.menu_or_icon) << 16 : 0u);
        out.u.ctl_flags = translate_flags(kControlFlags, e.flags);
    }
    return Status::ok;
}

} // namespace

void free_win_def(WIN_DEF* def, FontFreer freer) {
    if (def == nullptr) return;
    for (WIN_DEF* e = def; e->type != WT_NONE; ++e) {
        wynv_mem_free(e->text);
        if (e->font != nullptr && freer != nullptr) freer(e->font);
    }
    wynv_mem_free(def);
}

Status parse_win_def(std::span<const uint8_t> record, bool dialog, const FontMaker& fonts,
                     FontFreer freer, WIN_DEF*& out) {
    out = nullptr;
    Cursor c(record);
    const uint16_t count = c.u16();
    if (!c.ok() || count == 0 || size_t(count) * kMinEntryBytes > c.left()) return Status::corrupt;
    auto* def = static_cast<WIN_DEF*>(wynv_mem_zalloc((size_t(count) + 1) * sizeof(WIN_DEF)));
    if (def == nullptr) return Status::no_memory;
    Status status = Status::ok;
    for (size_t i = 0; i < count && status == Status::ok; ++i) {
        FileEntry e;
        read_entry(c, e, -1, nullptr, nullptr);
        status = c.ok() ? fill_entry(e, i, dialog, fonts, def[i]) : Status::corrupt;
    }
    if (status == Status::ok && !c.done()) status = Status::corrupt;
    if (status != Status::ok) {
        // Entries after the failing one are still zero, so the array ends right after what was
        // filled.
        free_win_def(def, freer);
        return status;
    }
    out = def;
    return Status::ok;
}

namespace {

Status parse_items(Cursor& c, int depth, MENU_ITEM*& out) {
    out = nullptr;
    if (depth > kMaxMenuDepth) return Status::corrupt;
    const uint16_t count = c.u16();
    if (!c.ok() || size_t(count) * kMinMenuItemBytes > c.left()) return Status::corrupt;
    auto* items = static_cast<MENU_ITEM*>(wynv_mem_zalloc((size_t(count) + 1) * sizeof(MENU_ITEM)));
    if (items == nullptr) return Status::no_memory;
    Status status = Status::ok;
    for (size_t i = 0; i < count; ++i) {
        const int16_t tag = c.s16();
        const int16_t mnemonic = c.s16();
        const uint16_t file_flags = c.u16();
        const std::string title = c.counted();
        c.extensions();
        // A tag of 0 ends an item array, so an item carrying it would cut the menu short.
        if (!c.ok() || tag == 0) {
            status = Status::corrupt;
            break;
        }
        items[i].text = dup_text(title);
        if (items[i].text == nullptr) {
            status = Status::no_memory;
            break;
        }
        items[i].tag = tag;
        items[i].mnemonic = mnemonic;
        items[i].flags = uint16_t(translate_flags(kMenuFlags, file_flags));
        if (file_flags & kMenuFileHasSubmenu) {
            status = parse_items(c, depth + 1, items[i].submenu);
            if (status != Status::ok) break;
        }
    }
    if (status != Status::ok) {
        free_menu(items);
        return status;
    }
    out = items;
    return Status::ok;
}

// Walks a nested item list looking for tag; stops at the first match.
void seek_menu_tag(Cursor& c, int depth, int32_t tag, int32_t ext_tag,
                   std::span<const uint8_t>& data, bool& found) {
    if (depth > kMaxMenuDepth) {
        c.fail();
        return;
    }
    const uint16_t count = c.u16();
    for (uint16_t i = 0; i < count && c.ok() && !found; ++i) {
        const int16_t item_tag = c.s16();
        c.u16();
        const uint16_t flags = c.u16();
        c.take(c.u16());
        bool has = false;
        c.extensions(ext_tag, &data, &has);
        if (item_tag == tag && c.ok()) {
            found = has;
            if (!has) c.fail(); // the item exists but lacks the extension: stop looking
            return;
        }
        if (flags & kMenuFileHasSubmenu) seek_menu_tag(c, depth + 1, tag, ext_tag, data, found);
    }
}

} // namespace

void free_menu(MENU_ITEM* tree) {
    if (tree == nullptr) return;
    for (MENU_ITEM* item = tree; item->tag != 0; ++item) {
        wynv_mem_free(item->text);
        free_menu(item->submenu);
    }
    wynv_mem_free(tree);
}

Status parse_menu(std::span<const uint8_t> record, MENU_ITEM*& out) {
    Cursor c(record);
    const Status status = parse_items(c, 0, out);
    if (status == Status::ok && !c.done()) {
        free_menu(out);
        out = nullptr;
        return Status::corrupt;
    }
    return status;
}

Status parse_string(std::span<const uint8_t> record, std::string& out) {
    Cursor c(record);
    out = c.counted();
    return c.done() ? Status::ok : Status::corrupt;
}

Status parse_string_list(std::span<const uint8_t> record, std::vector<std::string>& out) {
    out.clear();
    Cursor c(record);
    while (c.ok() && c.left() > 0) out.push_back(c.counted());
    return c.done() ? Status::ok : Status::corrupt;
}

Status parse_key_table(std::span<const uint8_t> record, std::vector<WYN_RES_ACCEL>& out) {
    out.clear();
    Cursor c(record);
    const uint16_t count = c.u16();
    if (!c.ok() || size_t(count) * 6 != c.left()) return Status::corrupt;
    for (uint16_t i = 0; i < count; ++i) {
        WYN_RES_ACCEL key{};
        key.key = c.u16();
        key.cmd = c.u16();
        key.flags = uint16_t(translate_flags(kKeyFlags, c.u16()));
        out.push_back(key);
    }
    return c.done() ? Status::ok : Status::corrupt;
}

Status parse_font(std::span<const uint8_t> record, WYN_RES_FONT& out) {
    Cursor c(record);
    out = WYN_RES_FONT{};
    out.size = c.s16();
    out.style = translate_flags(kFontStyles, c.u32());
    const std::string family = c.counted();
    const std::string native = c.counted();
    if (!c.done() || family.size() >= sizeof out.family || native.size() >= sizeof out.native)
        return Status::corrupt;
    std::memcpy(out.family, family.c_str(), family.size() + 1);
    std::memcpy(out.native, native.c_str(), native.size() + 1);
    return Status::ok;
}

Status parse_image(std::span<const uint8_t> record, uint32_t& word, int32_t ext_tag,
                   std::span<const uint8_t>* data, bool* found) {
    Cursor c(record);
    c.u32();
    c.take(c.u16());
    c.extensions(ext_tag, data, found);
    word = c.u32();
    return c.done() ? Status::ok : Status::corrupt;
}

Status find_entry_data(std::span<const uint8_t> record, int32_t entry_id, int32_t ext_tag,
                       std::span<const uint8_t>& data) {
    Cursor c(record);
    const uint16_t count = c.u16();
    for (uint16_t i = 0; i < count && c.ok(); ++i) {
        FileEntry e;
        std::span<const uint8_t> ext;
        bool has = false;
        read_entry(c, e, ext_tag, &ext, &has);
        const bool match = entry_id == 0 ? i == 0 : i > 0 && e.id == entry_id;
        if (c.ok() && match) {
            data = ext;
            return has ? Status::ok : Status::not_found;
        }
    }
    return c.ok() ? Status::not_found : Status::corrupt;
}

Status find_menu_data(std::span<const uint8_t> record, int32_t tag, int32_t ext_tag,
                      std::span<const uint8_t>& data) {
    Cursor c(record);
    bool found = false;
    seek_menu_tag(c, 0, tag, ext_tag, data, found);
    return found ? Status::ok : Status::not_found;
}

} // namespace wyn::res
