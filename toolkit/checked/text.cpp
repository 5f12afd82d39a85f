// Checked text-edit calls: each refuses a null or dead text edit before the library sees it.
#include <wyn/checked/text.h>

#include "check.h"

#include <cstring>

using namespace wyn_checked;

namespace {

constexpr char kTx[] = "ttx";

// A live text edit, or the report of a null or dead one.
bool text_edit(const Call& c, TX tx, Where where = Where::current()) {
    if (!tx) return c.fail(WYN_MSG_NULL_OBJECT, where);
    return wynv_tx_is_valid(tx) || c.fail(WYN_MSG_INVALID_TX, where);
}

TX find_tx(WINDOW win, int32_t cid) {
    return static_cast<TX>(wynv_tx_get_tx(win, cid));
}

int32_t first_line(TX tx) {
    int32_t first = 0;
    wynv_tx_get_origin(tx, nullptr, nullptr, &first, nullptr);
    return first;
}

BOOLEAN append_par(TX tx, const char* text) {
    return wynv_tx_add_par(tx, TX_PAR_END, text);
}

int32_t copy_line(TX tx, uint16_t par, uint16_t line, char* buf, int32_t size) {
    int32_t len = 0;
    wynv_tx_get_line(tx, par, TX_LINE_OPEN, 0, nullptr);
    const char* text = wynv_tx_get_line(tx, par, TX_LINE_READ, line, &len);
    if (text) {
        const int32_t n = len < size - 1 ? len : size - 1;
        std::memcpy(buf, text, size_t(n));
        buf[n] = '\0';
    } else {
        buf[0] = '\0';
    }
    wynv_tx_get_line(tx, par, TX_LINE_CLOSE, 0, nullptr);
    return text ? len : -1;
}

} // namespace

// clang-format off
CHECKED(kTx, wyn_tx_get_tx, (WINDOW win, int32_t cid),
        c.window(win, kAnyType), nullptr, find_tx, (win, cid))
CHECKED(kTx, wyn_tx_set_font, (TX tx, FONT font),
        text_edit(c, tx) && c.font(font), void(), wynv_tx_set_font, (tx, font))
CHECKED(kTx, wyn_tx_clear, (TX tx),
        text_edit(c, tx), FALSE, wynv_tx_clear, (tx))
CHECKED(kTx, wyn_tx_add_par, (TX tx, const char* text),
        text_edit(c, tx) && c.given(text, WYN_MSG_NULL_POINTER), FALSE, append_par, (tx, text))
CHECKED(kTx, wyn_tx_get_attr, (TX tx),
        text_edit(c, tx), uint16_t(0), wynv_tx_get_attr, (tx))
CHECKED(kTx, wyn_tx_get_num_pars, (TX tx),
        text_edit(c, tx), uint16_t(0), wynv_tx_get_num_pars, (tx))
CHECKED(kTx, wyn_tx_get_first_line, (TX tx),
        text_edit(c, tx), 0, first_line, (tx))
CHECKED(kTx, wyn_tx_scroll_vert, (TX tx, int32_t lines),
        text_edit(c, tx), void(), wynv_tx_scroll_vert, (tx, lines))
CHECKED(kTx, wyn_tx_set_scroll_callback, (TX tx, WYN_TX_SCROLL_FN fn),
        text_edit(c, tx), void(), wynv_tx_set_scroll_callback, (tx, fn))
CHECKED(kTx, wyn_tx_set_active, (TX tx),
        text_edit(c, tx), void(), wynv_tx_set_active, (tx))
CHECKED(kTx, wyn_tx_suspend, (TX tx),
        text_edit(c, tx), void(), wynv_tx_suspend, (tx))
CHECKED(kTx, wyn_tx_resume, (TX tx),
        text_edit(c, tx), void(), wynv_tx_resume, (tx))
CHECKED(kTx, wyn_tx_copy_line, (TX tx, uint16_t par, uint16_t line, char* buf, int32_t size),
        text_edit(c, tx) && c.given(buf, WYN_MSG_NULL_POINTER) && c.at_least(size, 1),
        -1, copy_line, (tx, par, line, buf, size))
// clang-format on
