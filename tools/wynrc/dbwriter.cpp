// Writing the compiled resource database: big-endian records, sorted index, header.
#include "dbwriter.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "portable/resformat.h"

namespace wynrc {

using namespace wyn::res;

namespace {

class Out {
  public:
    void u16(uint32_t v) {
        bytes.push_back(uint8_t(v >> 8));
        bytes.push_back(uint8_t(v));
    }
    void u32(uint32_t v) {
        u16(v >> 16);
        u16(v & 0xFFFF);
    }
    void counted(const std::string& s) {
        if (s.size() > UINT16_MAX) throw std::length_error("text longer than 65535 bytes");
        u16(uint32_t(s.size()));
        bytes.insert(bytes.end(), s.begin(), s.end());
    }
    void no_extensions() { u16(0); }
    std::vector<uint8_t> bytes;
};

struct Record {
    uint16_t type;
    uint16_t id;
    std::vector<uint8_t> bytes;
};

void menu_items(Out& out, const std::vector<MenuItem>& items) {
    out.u16(uint32_t(items.size()));
    for (const MenuItem& item : items) {
        out.u16(uint16_t(item.tag));
        out.u16(mnemonic_of(item.text));
        out.u16(untranslate_flags(kMenuFlags, item.flags) | (item.popup ? kMenuFileHasSubmenu : 0));
        out.counted(toolkit_title(item.text));
        out.no_extensions();
        if (item.popup) menu_items(out, item.items);
    }
}

void entry(Out& out, int cls, uint16_t id, int16_t x, int16_t y, int16_t w, int16_t h,
           uint16_t menu_or_icon, uint32_t flags, int32_t units, uint16_t extra,
           const std::string& title) {
    out.u16(uint32_t(cls));
    out.u16(id);
    out.u16(uint16_t(x));
    out.u16(uint16_t(y));
    out.u16(uint16_t(w));
    out.u16(uint16_t(h));
    out.u16(menu_or_icon);
    out.u32(flags);
    out.u16(uint32_t(units));
    out.u16(extra);
    out.counted(title);
    out.no_extensions();
}

std::vector<uint8_t> window_record(const Window& w) {
    Out out;
    out.u16(uint32_t(1 + w.controls.size()));
    const uint32_t flags = untranslate_flags(w.dialog ? kDialogFlags : kWindowFlags, w.flags);
    entry(out, class_of_type(w.type), w.id, w.x, w.y, w.w, w.h, w.menu, flags, w.units, 0,
          w.caption);
    for (const Control& c : w.controls) {
        const uint32_t file_flags = untranslate_flags(kControlFlags, c.flags);
        if (c.type == WT_TEXT_EDIT) {
            entry(out, class_of_type(c.type), c.id, c.x, c.y, c.w, c.h, c.extra, 0, w.units,
                  uint16_t(file_flags), toolkit_title(c.text));
            out.u32(untranslate_flags(kTextEditFlags, c.attrs));
            out.u16(c.margin);
            out.u16(c.limit);
        } else {
            entry(out, class_of_type(c.type), c.id, c.x, c.y, c.w, c.h, c.extra, file_flags,
                  w.units, 0, toolkit_title(c.text));
        }
    }
    return out.bytes;
}

} // namespace

std::string toolkit_title(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '&' && i + 1 < s.size() && s[i + 1] == '&') {
            out.push_back('&');
            ++i;
        } else if (s[i] == '&') {
            out.push_back('~');
        } else if (s[i] == '~') {
            out += "~~";
        } else {
            out.push_back(s[i]);
        }
    }
    return out;
}

uint16_t mnemonic_of(const std::string& s) {
    for (size_t i = 0; i + 1 < s.size(); ++i) {
        if (s[i] == '&' && s[i + 1] == '&')
            ++i;
        else if (s[i] == '&')
            return uint16_t(std::toupper(uint8_t(s[i + 1])));
    }
    return 0;
}

std::vector<uint8_t> build_database(const Script& script) {
    std::vector<Record> records;
    for (const Menu& m : script.menus) {
        if (!m.name.empty()) continue; // named menus exist only as native menus
        Out out;
        menu_items(out, m.items);
        records.push_back({kMenuBar, m.id, std::move(out.bytes)});
    }
    for (const Window& w : script.windows)
        records.push_back({w.dialog ? kDialog : kWindow, w.id, window_record(w)});
    for (const AccelTable& a : script.accels) {
        Out out;
        out.u16(uint32_t(a.keys.size()));
        for (const WYN_RES_ACCEL& k : a.keys) {
            out.u16(k.key);
            out.u16(k.cmd);
            out.u16(untranslate_flags(kKeyFlags, k.flags));
        }
        records.push_back({kKeyTable, a.id, std::move(out.bytes)});
    }
    for (const StringList& l : script.string_lists) {
        Out out;
        for (const std::string& s : l.items) out.counted(s);
        records.push_back({kStringList, l.id, std::move(out.bytes)});
    }
    for (const Font& f : script.fonts) {
        Out out;
        out.u16(uint16_t(f.size));
        out.u32(untranslate_flags(kFontStyles, f.style));
        out.counted(f.family);
        out.counted(f.native);
        records.push_back({kFont, f.id, std::move(out.bytes)});
    }
    std::sort(records.begin(), records.end(), [](const Record& a, const Record& b) {
        return key_of(a.type, a.id) < key_of(b.type, b.id);
    });
    if (records.size() > UINT16_MAX) throw std::length_error("more than 65535 resources");

    Out db;
    db.u32(kMagic);
    db.u16(kVersion);
    db.u16(uint32_t(records.size()));
    db.u32(0); // index offset, patched below
    std::vector<uint32_t> offsets;
    for (const Record& r : records) {
        offsets.push_back(uint32_t(db.bytes.size()));
        db.bytes.insert(db.bytes.end(), r.bytes.begin(), r.bytes.end());
    }
    const uint32_t index = uint32_t(db.bytes.size());
    for (size_t i = 0; i < records.size(); ++i) {
        db.u16(records[i].id);
        db.u16(records[i].type);
        db.u32(uint32_t(records[i].bytes.size()));
        db.u32(offsets[i]);
    }
    for (int i = 0; i < 4; ++i) db.bytes[8 + size_t(i)] = uint8_t(index >> (24 - 8 * i));
    if (db.bytes.size() > size_t(INT16_MAX - kDescriptorBlock) * kBlockSize)
        throw std::length_error("database larger than its block chain can hold");
    return db.bytes;
}

} // namespace wynrc
