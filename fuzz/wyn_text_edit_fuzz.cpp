// Drives one text edit on an offscreen window with random operations, keys, clicks and pastes,
// and checks after every step that its line tables, selection, origin and line total agree.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include <wyn/attr.h>
#include <wyn/clipboard.h>
#include <wyn/errmsg.h>
#include <wyn/menu.h>
#include <wyn/res.h>
#include <wyn/testing.h>
#include <wyn/text.h>

#include "toolkit/base/res_builder.h"
#include "tx_internal.h"

namespace {

int32_t handler(WINDOW win, EVENT* ev) {
    return wynv_tx_process_event(win, ev) ? 1 : 0;
}

// Warnings and refusals are expected; an internal fault of the library is not.
int32_t on_error(WYN_ERRMSG* msg, intptr_t) {
    const WYN_MSG_ID id = wynv_errmsg_get_msg_id(msg);
    if (id == TX_ERR_INVALID || id == TX_ERR_BAD_SLOT || id == TX_ERR_RELEASE ||
        id == TX_ERR_REENTERED) {
        std::fprintf(stderr, "text edit fault 0x%x\n", unsigned(id));
        std::abort();
    }
    return 1;
}

// What every program's resources carry: the resource name, accelerator table 9001 and an empty
// resource database.
void give_resources() {
    static const std::vector<uint8_t> db = restest::build_db({});
    static const std::string desc = std::to_string(db.size()) + " 10001 512";
    static const WYN_RES_RAW raw[2] = {
        {10000, uint32_t(desc.size()), reinterpret_cast<const uint8_t*>(desc.data())},
        {10001, uint32_t(db.size()), db.data()}};
    static const WYN_RES_STRING strings[] = {{30399, "norva"}};
    static const WYN_RES_ACCEL_TABLE accels[] = {{9001, 0, nullptr}};
    static WYN_RES_MODULE module{};
    module.raw = raw;
    module.raw_count = 2;
    module.strings = strings;
    module.string_count = 1;
    module.accels = accels;
    module.accel_count = 1;
    wynwi_set_resources(&module);
}

WINDOW start() {
    static const WYN_VERSION version = {4, 50, 0, 4, 50, 0};
    static RCT task_rect = {20, 0, 500, 648};
    static WYN_STARTUP startup{};
    static WYN_APP_CONFIG config{0, 0, "norva", "VoltSentry Plus", "Norvane VoltSentry Plus"};
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    startup.version = &version;
    startup.cmd_line = "";
    give_resources();
    if (!wynwi_Begin(&startup) || !wynwi_Init(&startup)) std::abort();
    wynv_vobj_set_attr(nullptr, ATTR_TASK_RECT, reinterpret_cast<ATTR_VALUE>(&task_rect));
    wynv_vobj_set_attr(nullptr, ATTR_ERROR_HANDLER, reinterpret_cast<ATTR_VALUE>(on_error));
    // The hosting mode is read when the library is first used: by the task window's events.
    wynv_vobj_set_attr(nullptr, ATTR_TX_RAW, 1);
    if (!wyn::testing::start_application(0, handler, &config)) std::abort();
    auto task = reinterpret_cast<WINDOW>(wynk_vobj_get_attr(nullptr, ATTR_TASK_WINDOW));
    const RCT rct{0, 0, 300, 400};
    return wynk_win_create(WT_PLAIN, &rct, "fuzz", 0, task, 0, EM_ALL, handler, 0);
}

class reader {
  public:
    reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool more() const { return at_ < size_; }
    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::string text() {
        static const char alphabet[] = "ab cd\tef  gh\nijWW\r\n.x";
        std::string out(byte() % 40, ' ');
        for (char& c : out) c = alphabet[byte() % (sizeof alphabet - 1)];
        return out;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

void send(WINDOW win, EVENT ev) {
    wynk_win_dispatch_event(win, &ev);
}

void step(WINDOW win, TX tx, reader& in) {
    EVENT ev{};
    const uint8_t op = in.byte() % 16;
    switch (op) {
    case 0:
    case 1: {
        static const char keys[] = "abc \t\r\b\x7f" "xyz";
        ev.type = E_CHAR;
        ev.v.chr.ch = uint8_t(keys[in.byte() % (sizeof keys - 1)]);
        send(win, ev);
        break;
    }
    case 2:
    case 3: {
        ev.type = E_CHAR;
        const uint8_t k = in.byte();
        ev.v.chr.ch = uint16_t(k % 19 < 17 ? KEY_UP + k % 17 : k % 2 ? KEY_DEL : KEY_F1);
        ev.v.chr.virtual_key = TRUE;
        ev.v.chr.shift = k & 0x80 ? TRUE : FALSE;
        send(win, ev);
        break;
    }
    case 4: {
        static const int16_t types[] = {E_MOUSE_DOWN, E_MOUSE_MOVE, E_MOUSE_UP, E_MOUSE_DBL};
        ev.type = types[in.byte() % 4];
        ev.v.mouse.where = PNT{int16_t(in.byte() * 2 - 100), int16_t(in.byte() * 2 - 100)};
        ev.v.mouse.shift = in.byte() & 1;
        send(win, ev);
        break;
    }
    case 5:
        wynv_tx_add_par(tx, in.byte() == 255 ? TX_PAR_END : in.byte() % 8, in.text().c_str());
        break;
    case 6:
        wynv_tx_append(tx, in.byte() % 8, in.text().c_str());
        break;
    case 7:
        wynv_tx_set_par(tx, in.byte() % 8, in.text().c_str());
        break;
    case 8:
        wynv_tx_rem_par(tx, in.byte() % 8);
        break;
    case 9: {
        uint16_t v[6];
        for (uint16_t& x : v) x = in.byte() % 12;
        wynv_tx_set_sel(tx, v[0], v[1], v[2], v[3], v[4], v[5]);
        break;
    }
    case 10:
        wynv_tx_set_attr(tx, uint16_t((in.byte() | in.byte() << 8) & 0x3FBF));
        break;
    case 11:
        if (in.byte() & 1) {
            wynv_tx_set_margin(tx, int16_t(in.byte() - 20));
        } else {
            wynv_tx_set_tabstop(tx, int16_t(in.byte() % 10));
        }
        break;
    case 12:
        if (in.byte() & 1) {
            wynv_tx_scroll_vert(tx, int8_t(in.byte()));
        } else {
            wynv_tx_scroll_hor(tx, int8_t(in.byte()) * 4);
        }
        break;
    case 13: {
        const uint8_t what = in.byte() % 5;
        if (what == 0) {
            const std::string text = in.text();
            if (wynk_cb_open(TRUE)) {
                if (char* block = static_cast<char*>(wynk_cb_alloc_data(int32_t(text.size())))) {
                    std::copy(text.begin(), text.end(), block);
                    wynk_cb_put_data(CB_FORMAT_TEXT, nullptr, 0, nullptr);
                }
                wynk_cb_close();
            }
        }
        ev.type = E_COMMAND;
        ev.v.cmd.tag = int16_t(MENU_TAG_CUT + (what == 0 ? 2 : what - 1));
        send(win, ev);
        break;
    }
    case 14:
        if (in.byte() & 1) {
            wynv_tx_suspend(tx);
        } else {
            wynv_tx_resume(tx);
        }
        break;
    default: {
        const uint8_t what = in.byte() % 3;
        if (what == 0) wynv_tx_reset(tx);
        if (what == 1) {
            const RCT rct{int16_t(in.byte() % 40), int16_t(in.byte() % 40),
                          int16_t(60 + in.byte()), int16_t(60 + in.byte())};
            wynv_tx_move(tx, &rct);
        }
        if (what == 2) {
            EVENT update{};
            update.type = E_UPDATE;
            update.v.update.rct = RCT{0, 0, 300, 400};
            send(win, update);
        }
        break;
    }
    }
}

} // namespace

// The system's font configuration keeps its caches to the end of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static WINDOW win = start();
    reader in(data, size);
    const RCT rct{10, 10, int16_t(50 + in.byte() % 120), int16_t(40 + in.byte() % 200)};
    const uint16_t attr = uint16_t((in.byte() | in.byte() << 8) & 0x3FBF);
    TX tx = wynv_tx_create(win, &rct, attr, nullptr, int16_t(in.byte() % 4 ? 0 : in.byte()),
                           uint16_t(in.byte() % 4 ? 0 : in.byte() % 30));
    if (!tx || reinterpret_cast<uintptr_t>(tx) > 16) std::abort(); // raw mode: a slot number
    for (int steps = 0; in.more() && steps < 200; ++steps) {
        step(win, tx, in);
        if (const char* fault = tx::check_consistency(tx)) {
            std::fprintf(stderr, "inconsistent after step %d: %s\n", steps, fault);
            std::abort();
        }
    }
    wynv_tx_destroy(tx);
    if (wynv_tx_is_valid(tx)) std::abort();
    return 0;
}
