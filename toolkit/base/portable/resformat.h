// Layout of the compiled resource database: constants, class codes and flag translation tables.
// Shared by the database reader and the resource compiler, so both sides agree on every number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "wyn/windef.h"

namespace wyn::res {

inline constexpr uint32_t kMagic = 0xDEADC0DEu;
inline constexpr uint16_t kVersion = 4;
inline constexpr size_t kHeaderSize = 12;     // magic, version, entry count, index offset
inline constexpr size_t kIndexEntrySize = 12; // id, type, size, offset
inline constexpr size_t kPageEntries = 256;
inline constexpr uint16_t kDescriptorBlock = 10000; // raw-data block holding "length first size"
inline constexpr uint16_t kFirstDataBlock = 10001;
inline constexpr uint16_t kBlockSize = 512;

// Resource types of the index.
enum Type : uint16_t {
    kMenuBar = 0,
    kDialog = 1,
    kKeyTable = 2,
    kString = 3,
    kStringList = 4,
    kWindow = 5,
    kFont = 6,
    kImage = 7,
};

inline constexpr uint32_t key_of(uint16_t type, uint16_t id) {
    return uint32_t(type) << 16 | id;
}

// Class code of a window entry -> toolkit window type; 0 marks an unused code.
inline constexpr int32_t kClassToType[] = {
    WT_DOC,
    WT_PLAIN,
    WT_DBL,
    WT_NO_BORDER,
    WT_MODAL_DLG,
    WT_MODELESS_DLG,
    WT_PUSH_BUTTON,
    WT_RADIO_BUTTON,
    WT_CHECK_BOX,
    WT_HSCROLL,
    WT_VSCROLL,
    WT_EDIT,
    WT_TEXT,
    WT_LIST_BOX,
    WT_TEXT_EDIT,
    WT_ICON,
    WT_LIST_EDIT,
    WT_LIST_BUTTON,
    WT_GROUP_BOX,
    0,
    0,
    WT_MODAL,
};
inline constexpr uint16_t kTextEditClass = 14;

// The class code of a toolkit type, or -1 when the type has none.
inline constexpr int class_of_type(int32_t type) {
    for (size_t code = 0; code < std::size(kClassToType); ++code)
        if (kClassToType[code] == type && type != 0) return int(code);
    return -1;
}

// Menu item file flags.
inline constexpr uint16_t kMenuFileDisabled = 0x01;
inline constexpr uint16_t kMenuFileHasSubmenu = 0x10;

// One row of a flag translation table: the file bit, the toolkit bit, and whether one is the
// other's inverse.
struct FlagRow {
    uint32_t file_bit;
    uint32_t toolkit_bit;
    bool inverted;
};

// Window creation flags sit above bit 15 in the file, so the low bits the toolkit carries unnamed
// pass as they are.
inline constexpr FlagRow kWindowFlags[] = {
    {0x010000, WSF_HSCROLL, false},    {0x020000, WSF_VSCROLL, false},
    {0x040000, WSF_INVISIBLE, true},   {0x080000, WSF_NO_ACTIVATE, false},
    {0x100000, WSF_MINIMIZED, false},  {0x200000, WSF_MAXIMIZED, false},
    {0x400000, WSF_NO_MENUBAR, false},
};
// A control is stored as visible and enabled; the toolkit holds the opposite states. The file bits
// fit in 16, as a text edit keeps its control flags in a 16-bit word.
inline constexpr FlagRow kControlFlags[] = {
    {0x0100, CTL_FLAG_INVISIBLE, true},  {0x0200, CTL_FLAG_DISABLED, true},
    {0x0001, CTL_FLAG_DEFAULT, false},   {0x0004, CTL_FLAG_CHECKED, false},
    {0x0008, CTL_FLAG_MULTI_SEL, false}, {0x0020, CTL_FLAG_READ_ONLY, false},
    {0x0040, CTL_FLAG_PASSWORD, false},  {0x0080, CTL_FLAG_SORTED, false},
};
inline constexpr FlagRow kMenuFlags[] = {
    {kMenuFileDisabled, MENU_FLAG_ENABLED, true},
    {0x04, MENU_FLAG_CHECKED, false},
    {0x02, MENU_FLAG_CHECKABLE, false},
    {0x08, MENU_FLAG_SEPARATOR, false},
    {kMenuFileHasSubmenu, 0, false}, // structure, not state
};
// Dialog flags, text-edit attributes, key flags and font styles have no renamed bits; they pass
// unchanged.
inline constexpr std::span<const FlagRow> kDialogFlags{};
inline constexpr std::span<const FlagRow> kTextEditFlags{};
inline constexpr std::span<const FlagRow> kKeyFlags{};
inline constexpr std::span<const FlagRow> kFontStyles{};

// Moves the named bits of a flag word between the file's layout and the toolkit's (inverting where
// a row says so); bits no row names pass through unchanged.
inline constexpr uint32_t move_flags(std::span<const FlagRow> rows, uint32_t value,
                                     bool to_toolkit) {
    uint32_t named = 0;
    uint32_t out = 0;
    for (const FlagRow& row : rows) {
        named |= row.file_bit | row.toolkit_bit;
        const uint32_t from = to_toolkit ? row.file_bit : row.toolkit_bit;
        const uint32_t to = to_toolkit ? row.toolkit_bit : row.file_bit;
        if (((value & from) != 0) != row.inverted) out |= to;
    }
    return out | (value & ~named);
}

// File flags -> toolkit flags, as the reader needs them.
inline constexpr uint32_t translate_flags(std::span<const FlagRow> rows, uint32_t file) {
    return move_flags(rows, file, true);
}

// Toolkit flags -> file flags, as the compiler writes them.
inline constexpr uint32_t untranslate_flags(std::span<const FlagRow> rows, uint32_t toolkit) {
    return move_flags(rows, toolkit, false);
}

} // namespace wyn::res
