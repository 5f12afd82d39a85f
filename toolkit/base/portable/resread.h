// Readers that turn database records into definitions, menu trees, strings, key tables, fonts and
// images. Every length, count and offset comes from outside and is checked; a damaged record yields
// Status::corrupt.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "portable/resdb.h"
#include "wyn/res.h"
#include "wyn/windef.h"

namespace wyn::res {

// Bounds-checked big-endian reading; after the first overrun every read yields zeros and ok() stays
// false.
class Cursor {
  public:
    explicit Cursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    uint16_t u16();
    uint32_t u32();
    int16_t s16() { return int16_t(u16()); }
    // A 16-bit length and that many bytes.
    std::string counted();
    // The next n bytes, or an empty span past the end.
    std::span<const uint8_t> take(size_t n);
    // Skips an extension list; when want_tag is found its data is put in *found.
    void extensions(int32_t want_tag = -1, std::span<const uint8_t>* found = nullptr,
                    bool* has = nullptr);
    size_t left() const { return ok_ ? bytes_.size() - pos_ : 0; }
    bool ok() const { return ok_; }
    // True when every byte was read and none was missing.
    bool done() const { return ok_ && pos_ == bytes_.size(); }
    void fail() { ok_ = false; }

  private:
    std::span<const uint8_t> bytes_;
    size_t pos_ = 0;
    bool ok_ = true;
};

// Makes the font object of a text-edit entry from font resource id; null with status set when it
// cannot.
using FontMaker = std::function<struct wyn_font*(uint16_t font_id, Status& status)>;
// Releases a font made by a FontMaker.
using FontFreer = void (*)(struct wyn_font*);

// Parses a window or dialog record into a wynv_mem-allocated WIN_DEF array ended by a WT_NONE
// entry.
Status parse_win_def(std::span<const uint8_t> record, bool dialog, const FontMaker& fonts,
                     FontFreer freer, WIN_DEF*& out);
// Frees an array made by parse_win_def (or built alike), fonts through freer when given.
void free_win_def(WIN_DEF* def, FontFreer freer);

// Parses a menu-bar record into a wynv_mem-allocated menu tree.
Status parse_menu(std::span<const uint8_t> record, MENU_ITEM*& out);
void free_menu(MENU_ITEM* tree);

// A string resource (one counted string) and a string list (counted strings filling the record).
Status parse_string(std::span<const uint8_t> record, std::string& out);
Status parse_string_list(std::span<const uint8_t> record, std::vector<std::string>& out);
Status parse_key_table(std::span<const uint8_t> record, std::vector<WYN_RES_ACCEL>& out);
Status parse_font(std::span<const uint8_t> record, WYN_RES_FONT& out);
// An image record: its closing word, and extension ext_tag's data when asked for (found tells
// whether).
Status parse_image(std::span<const uint8_t> record, uint32_t& word, int32_t ext_tag,
                   std::span<const uint8_t>* data, bool* found);

// Extension ext_tag of the entry with id entry_id (0 = the window entry) of a window or dialog
// record.
Status find_entry_data(std::span<const uint8_t> record, int32_t entry_id, int32_t ext_tag,
                       std::span<const uint8_t>& data);
// Extension ext_tag of the menu item tagged tag, searched through the nested lists.
Status find_menu_data(std::span<const uint8_t> record, int32_t tag, int32_t ext_tag,
                      std::span<const uint8_t>& data);

// Menus deeper than this are refused as damaged.
inline constexpr int kMaxMenuDepth = 8;

} // namespace wyn::res
