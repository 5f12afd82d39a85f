// The custom-control layer: registers controls per parent, holds their models and properties,
// wraps their handlers and carries their notifications to the parent.
#include "table/hosting.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>
#include <wyn/checked/shell.h>

namespace {

struct control_class {
    std::string name;
    EVENT_HANDLER handler;
    custom_prepare_fn prepare;
};

struct control_record {
    WINDOW win = nullptr;
    WINDOW parent = nullptr;
    int16_t id = 0;
    intptr_t app_value = 0;
    std::string class_name;
    std::vector<std::string> props;
    std::vector<const char*> prop_ptrs;
    EVENT_HANDLER handler = nullptr;
    std::unique_ptr<custom_model> model;
};

std::vector<control_class>& classes() {
    static std::vector<control_class> list;
    return list;
}

std::vector<std::unique_ptr<control_record>>& controls() {
    static std::vector<std::unique_ptr<control_record>> list;
    return list;
}

// The record of the control being made: its window's E_CREATE registers it.
std::unique_ptr<control_record>& pending() {
    static std::unique_ptr<control_record> record;
    return record;
}

control_record* find_record(WINDOW win) {
    if (!win || win->magic != WYN_WIN_MAGIC) return nullptr;
    for (auto& r : controls())
        if (r->win == win) return r.get();
    return nullptr;
}

const control_class* find_class(const std::string& name) {
    for (const control_class& c : classes())
        if (c.name == name) return &c;
    return nullptr;
}

constexpr COLOR black = 0x07000000;
constexpr COLOR white = 0x0BFFFFFF;

// What a control of a class without a handler shows.
void paint_no_handler(WINDOW win) {
    wyn_dwin_clear(win, black);
    wyn_dwin_set_fore_color(win, white);
    int32_t leading = 0, ascent = 0, descent = 0;
    FONT font = wyn_dwin_get_font(win);
    if (font && (wyn_font_is_mapped(font) || wyn_font_map(font, win)))
        wyn_font_get_metrics(font, &leading, &ascent, &descent);
    const int line = leading + ascent + descent;
    wyn_dwin_draw_text(win, 2, ascent + 2, "No event handler", -1);
    wyn_dwin_draw_text(win, 2, ascent + 2 + line, "handler", -1);
}

int32_t layer_handler(WINDOW win, EVENT* ev) {
    if (ev->type == E_CREATE && pending()) {
        // A record left by a window that vanished without E_DESTROY (its toolkit ended) must
        // not be taken for this one, which may have its address.
        auto& list = controls();
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [&](const auto& r) { return r->win == win || r->parent == win; }),
                   list.end());
        pending()->win = win;
        controls().push_back(std::move(pending()));
    }
    control_record* record = find_record(win);
    int32_t result = 0;
    if (record && record->handler) {
        result = record->handler(win, ev);
        record = find_record(win); // the handler may have destroyed the control
    } else if (ev->type == E_UPDATE) {
        paint_no_handler(win);
    }
    if (ev->type == E_DESTROY && record) {
        auto& list = controls();
        // The model is moved out first so that its destructor may still call back into the
        // layer without finding a half-removed record.
        std::unique_ptr<control_record> gone;
        for (auto it = list.begin(); it != list.end(); ++it)
            if (it->get() == record) {
                gone = std::move(*it);
                list.erase(it);
                break;
            }
    }
    return result;
}

} // namespace

void custom_ctl_register_class(const char* class_name, EVENT_HANDLER handler,
                               custom_prepare_fn prepare) {
    if (!class_name) return;
    for (control_class& c : classes())
        if (c.name == class_name) {
            c.handler = handler;
            c.prepare = prepare;
            return;
        }
    classes().push_back({class_name, handler, prepare});
}

RCT custom_ctl_to_pixels(const RCT& units) {
    int32_t width = 0, height = 0;
    wyn_scr_get_dialog_units(&width, &height);
    if (width <= 0) width = 8;
    if (height <= 0) height = 16;
    auto h = [&](int v) { return int16_t(std::clamp(v * width / 4, -32768, 32767)); };
    auto v = [&](int x) { return int16_t(std::clamp(x * height / 8, -32768, 32767)); };
    return RCT{v(units.top), h(units.left), v(units.bottom), h(units.right)};
}

WINDOW custom_ctl_create(int16_t id, const RCT* rct, int32_t prop_count, const char* const* props,
                         WINDOW parent, intptr_t app_value, uint32_t flags,
                         const char* class_name) {
    if (!rct || !parent || parent->magic != WYN_WIN_MAGIC) return nullptr;
    auto record = std::make_unique<control_record>();
    record->parent = parent;
    record->id = id;
    record->app_value = app_value;
    record->class_name = class_name ? class_name : "";
    for (int32_t i = 0; props && i < prop_count; ++i) record->props.emplace_back(props[i] ? props[i] : "");
    for (const std::string& p : record->props) record->prop_ptrs.push_back(p.c_str());
    RCT place = *rct;
    const control_class* cls = find_class(record->class_name);
    if (cls) record->handler = cls->handler;
    if (cls && cls->prepare)
        cls->prepare(int32_t(record->prop_ptrs.size()), record->prop_ptrs.data(), &flags, &place);
    else
        place = custom_ctl_to_pixels(place);
    pending() = std::move(record);
    WINDOW win = wyn_win_create(WT_NO_BORDER, &place, "", 0, parent, flags, EM_ALL, layer_handler,
                                app_value);
    pending().reset();
    return win;
}

WINDOW custom_ctl_find(WINDOW parent, int16_t id) {
    for (auto& r : controls())
        if (r->parent == parent && r->id == id) return r->win;
    return nullptr;
}

bool custom_ctl_is(WINDOW ctl, const char* class_name) {
    const control_record* r = find_record(ctl);
    return r && (!class_name || r->class_name == class_name);
}

int16_t custom_ctl_id(WINDOW ctl) {
    const control_record* r = find_record(ctl);
    return r ? r->id : int16_t(-1);
}

intptr_t custom_ctl_app_value(WINDOW ctl) {
    const control_record* r = find_record(ctl);
    return r ? r->app_value : 0;
}

const char* custom_ctl_class_name(WINDOW ctl) {
    const control_record* r = find_record(ctl);
    return r ? r->class_name.c_str() : nullptr;
}

const char* const* custom_ctl_props(WINDOW ctl, int32_t* count) {
    const control_record* r = find_record(ctl);
    if (count) *count = r ? int32_t(r->prop_ptrs.size()) : 0;
    return r ? r->prop_ptrs.data() : nullptr;
}

custom_model* custom_ctl_model_slot(WINDOW ctl, std::unique_ptr<custom_model> (*make)()) {
    control_record* r = find_record(ctl);
    if (!r) return nullptr;
    if (!r->model && make) r->model = make();
    return r->model.get();
}

bool custom_ctl_notify(WINDOW ctl, int16_t code, int32_t line, uint8_t state) {
    const control_record* r = find_record(ctl);
    if (!r || !r->parent || r->parent->magic != WYN_WIN_MAGIC) return false;
    if (!wyn_win_get_handler(r->parent)) return true; // nobody listens: nothing to send
    custom_notify note{custom_notify_kind, ctl, code, r->class_name.c_str(), line, state};
    EVENT ev{};
    ev.type = custom_notify_event;
    ev.v.user.id = r->id;
    ev.v.user.ptr = &note;
    wyn_win_dispatch_event(r->parent, &ev);
    return true;
}

int32_t custom_ctl_route_key(WINDOW parent, EVENT* ev) {
    WINDOW focus = wyn_scr_get_focus_vobj();
    const control_record* r = find_record(focus);
    if (!r || r->parent != parent || !r->handler) return -1;
    return r->handler(focus, ev);
}
