// The exported resource functions: the program's native tables and the database readers over them.
#include "portable/res.h"

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "portable/report_hook.h"
#include "portable/resformat.h"
#include "portable/resread.h"
#include "portable/static_block.h"

namespace wyn::res {
namespace {

constexpr char kReportUnit[] = "vres";

// The program image's own constant tables, registered before main like a module handle: they belong
// to the process, not to one run of the toolkit, so they live outside the toolkit's state block.
const WYN_RES_MODULE* g_module = nullptr;

struct ResState {
    std::unique_ptr<Database> db;
    bool open_tried = false;
    size_t budget = Database::kDefaultBudget;
    FontMakeFn make_font = nullptr;
    FontFreeFn free_font = nullptr;
};

ResState* state() {
    return static_block<ResState>();
}

void report(Status status) {
    if (status != Status::ok)
        portable_report(uint32_t(status), PORTABLE_ERROR, kReportUnit, __LINE__);
}

const char* string_source(int id) {
    if (g_module == nullptr || g_module->strings == nullptr) return nullptr;
    const WYN_RES_STRING* begin = g_module->strings;
    const WYN_RES_STRING* end = begin + g_module->string_count;
    const auto* it = std::lower_bound(begin, end, id,
                                      [](const WYN_RES_STRING& s, int key) { return s.id < key; });
    return it != end && it->id == id ? it->text : nullptr;
}

// Reads resource (type, id) and reports what went wrong.
bool read_record(Type type, int32_t id, std::vector<uint8_t>& bytes) {
    Database* db = database();
    if (db == nullptr) return false;
    if (id < 0 || id > UINT16_MAX) {
        report(Status::not_found);
        return false;
    }
    const Status status = db->read(type, uint16_t(id), bytes);
    report(status);
    return status == Status::ok;
}

WIN_DEF* read_def(Type type, int32_t id) {
    std::vector<uint8_t> bytes;
    if (!read_record(type, id, bytes)) return nullptr;
    ResState* st = state();
    const FontMaker fonts = [st](uint16_t font_id, Status & status) -> struct wyn_font* {
        std::vector<uint8_t> font_bytes;
        WYN_RES_FONT desc;
        status = database()->read(kFont, font_id, font_bytes);
        if (status == Status::ok) status = parse_font(font_bytes, desc);
        if (status != Status::ok) return nullptr;
        if (st->make_font == nullptr) {
            status = Status::not_found;
            return nullptr;
        }
        return st->make_font(&desc);
    };
    WIN_DEF* def = nullptr;
    report(parse_win_def(bytes, type == kDialog, fonts, st->free_font, def));
    return def;
}

int32_t copy_out(std::span<const uint8_t> data, void* buf, int32_t size) {
    if (buf != nullptr && size > 0)
        std::memcpy(buf, data.data(), std::min<size_t>(data.size(), size_t(size)));
    return int32_t(data.size());
}

int32_t entry_data(Type type, int32_t id, int32_t entry_id, int32_t ext_tag, void* buf,
                   int32_t size) {
    std::vector<uint8_t> bytes;
    std::span<const uint8_t> data;
    if (!read_record(type, id, bytes) ||
        find_entry_data(bytes, entry_id, ext_tag, data) != Status::ok)
        return -1;
    return copy_out(data, buf, size);
}

} // namespace

void set_font_hooks(FontMakeFn make, FontFreeFn release) {
    if (ResState* st = state()) {
        st->make_font = make;
        st->free_font = release;
    }
}

Database* database() {
    ResState* st = state();
    if (st == nullptr) return nullptr;
    if (st->db == nullptr && !st->open_tried) wynv_res_open();
    return st->db.get();
}

bool string_range(int32_t first, int32_t last, std::vector<std::string>& out) {
    out.clear();
    for (int32_t id = first; id <= last; ++id) {
        const char* text = string_source(id);
        if (text == nullptr) {
            out.clear();
            return false;
        }
        out.emplace_back(text);
    }
    return true;
}

bool db_string_list(int32_t id, std::vector<std::string>& out) {
    std::vector<uint8_t> bytes;
    if (!read_record(kStringList, id, bytes)) return false;
    const Status status = parse_string_list(bytes, out);
    report(status);
    return status == Status::ok;
}

} // namespace wyn::res

using namespace wyn::res;

void wynwi_set_resources(const WYN_RES_MODULE* module) {
    g_module = module;
    portable_set_string_source(module != nullptr ? string_source : nullptr);
    if (ResState* st = state()) {
        st->db.reset();
        st->open_tried = false;
    }
}

const WYN_RES_MODULE* wynwi_get_resources(void) {
    return g_module;
}

BOOLEAN wynv_res_open(void) {
    ResState* st = state();
    if (st == nullptr) return FALSE;
    st->open_tried = true;
    Status status = Status::no_access;
    st->db = g_module != nullptr ? Database::open_raw(g_module->raw, g_module->raw_count, status)
                                 : nullptr;
    if (st->db == nullptr) {
        // A missing or unreadable descriptor block means no database at all; damage inside it is
        // corruption.
        report(status);
        return FALSE;
    }
    st->db->set_cache_budget(st->budget);
    return TRUE;
}

BOOLEAN wynv_res_open_file(const char* path) {
    ResState* st = state();
    if (st == nullptr || path == nullptr) return FALSE;
    st->open_tried = true;
    Status status = Status::no_access;
    st->db = Database::open_file(path, status);
    if (st->db == nullptr) {
        report(status);
        return FALSE;
    }
    st->db->set_cache_budget(st->budget);
    return TRUE;
}

void wynv_res_close(void) {
    if (ResState* st = state()) {
        st->db.reset();
        st->open_tried = false;
    }
}

void wynv_res_set_cache_budget(uint32_t bytes) {
    if (ResState* st = state()) {
        st->budget = bytes;
        if (st->db != nullptr) st->db->set_cache_budget(bytes);
    }
}

WIN_DEF* wynv_res_get_win_def(int32_t id) {
    return read_def(kWindow, id);
}

WIN_DEF* wynv_res_get_dlg_def(int32_t id) {
    return read_def(kDialog, id);
}

void wynv_res_free_win_def(WIN_DEF* def) {
    ResState* st = state();
    free_win_def(def, st != nullptr ? st->free_font : nullptr);
}

MENU_ITEM* wynv_res_get_menu(int32_t id) {
    std::vector<uint8_t> bytes;
    if (!read_record(kMenuBar, id, bytes)) return nullptr;
    MENU_ITEM* tree = nullptr;
    report(parse_menu(bytes, tree));
    return tree;
}

void wynv_res_free_menu_tree(MENU_ITEM* tree) {
    free_menu(tree);
}

char* wynv_res_get_str(int32_t id, char* buf, int32_t size) {
    const char* text = string_source(id);
    if (text == nullptr || buf == nullptr || size <= 0) return nullptr;
    const size_t n = std::min(std::strlen(text), size_t(size) - 1);
    std::memcpy(buf, text, n);
    buf[n] = '\0';
    return buf;
}

SLIST wynv_res_get_str_list(int32_t first, int32_t last) {
    std::vector<std::string> texts;
    if (!string_range(first, last, texts)) {
        report(Status::not_found);
        return nullptr;
    }
    SLIST list = wynv_slist_create();
    for (size_t i = 0; list != nullptr && i < texts.size(); ++i) {
        if (!wynv_slist_add_at_pos(list, -1, texts[i].c_str(), long(first) + long(i))) {
            wynv_slist_destroy(list);
            return nullptr;
        }
    }
    return list;
}

char* wynv_res_get_db_str(int32_t id, char* buf, int32_t size) {
    std::vector<uint8_t> bytes;
    std::string text;
    if (buf == nullptr || size <= 0 || !read_record(kString, id, bytes)) return nullptr;
    if (const Status status = parse_string(bytes, text); status != Status::ok) {
        report(status);
        return nullptr;
    }
    const size_t n = std::min(text.size(), size_t(size) - 1);
    std::memcpy(buf, text.data(), n);
    buf[n] = '\0';
    return buf;
}

BOOLEAN wynv_res_get_font_desc(int32_t id, WYN_RES_FONT* font) {
    std::vector<uint8_t> bytes;
    if (font == nullptr || !read_record(kFont, id, bytes)) return FALSE;
    const Status status = parse_font(bytes, *font);
    report(status);
    return status == Status::ok ? TRUE : FALSE;
}

int32_t wynv_res_get_image(int32_t id) {
    std::vector<uint8_t> bytes;
    uint32_t word = 0;
    if (!read_record(kImage, id, bytes)) return 0;
    const Status status = parse_image(bytes, word, -1, nullptr, nullptr);
    report(status);
    return status == Status::ok ? int32_t(word) : 0;
}

int32_t wynv_res_get_image_data(int32_t id, int32_t ext_tag, void* buf, int32_t size) {
    std::vector<uint8_t> bytes;
    uint32_t word = 0;
    std::span<const uint8_t> data;
    bool found = false;
    if (!read_record(kImage, id, bytes) ||
        parse_image(bytes, word, ext_tag, &data, &found) != Status::ok || !found)
        return -1;
    return copy_out(data, buf, size);
}

int32_t wynv_res_get_win_data(int32_t id, int32_t entry_id, int32_t ext_tag, void* buf,
                              int32_t size) {
    return entry_data(kWindow, id, entry_id, ext_tag, buf, size);
}

int32_t wynv_res_get_dlg_data(int32_t id, int32_t entry_id, int32_t ext_tag, void* buf,
                              int32_t size) {
    return entry_data(kDialog, id, entry_id, ext_tag, buf, size);
}

int32_t wynv_res_get_menu_data(int32_t id, int32_t tag, int32_t ext_tag, void* buf, int32_t size) {
    std::vector<uint8_t> bytes;
    std::span<const uint8_t> data;
    if (!read_record(kMenuBar, id, bytes) ||
        find_menu_data(bytes, tag, ext_tag, data) != Status::ok)
        return -1;
    return copy_out(data, buf, size);
}

int32_t wynv_res_get_key_table(int32_t id, WYN_RES_ACCEL* keys, int32_t max) {
    std::vector<uint8_t> bytes;
    std::vector<WYN_RES_ACCEL> table;
    if (!read_record(kKeyTable, id, bytes)) return -1;
    if (const Status status = parse_key_table(bytes, table); status != Status::ok) {
        report(status);
        return -1;
    }
    if (keys != nullptr && max > 0)
        std::copy_n(table.begin(), std::min<size_t>(table.size(), size_t(max)), keys);
    return int32_t(table.size());
}

const WYN_RES_ACCEL_TABLE* wynv_res_find_accel_table(int32_t id) {
    for (size_t i = 0; g_module != nullptr && i < g_module->accel_count; ++i)
        if (g_module->accels[i].id == id) return &g_module->accels[i];
    return nullptr;
}

const WYN_RES_ICON* wynv_res_find_icon(const char* name, int32_t id) {
    for (size_t i = 0; g_module != nullptr && i < g_module->icon_count; ++i) {
        const WYN_RES_ICON& icon = g_module->icons[i];
        if (name != nullptr ? icon.name != nullptr && strcasecmp(icon.name, name) == 0
                            : icon.name == nullptr && icon.id == id)
            return &icon;
    }
    return nullptr;
}

const WYN_RES_MENU* wynv_res_find_native_menu(const char* name, int32_t id) {
    for (size_t i = 0; g_module != nullptr && i < g_module->menu_count; ++i) {
        const WYN_RES_MENU& menu = g_module->menus[i];
        if (name != nullptr ? menu.name != nullptr && strcasecmp(menu.name, name) == 0
                            : menu.name == nullptr && menu.id == id)
            return &menu;
    }
    return nullptr;
}
