// The caret, cursors, the busy hourglass, the pointer trap, and control fonts.
#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTimer>

#include "kernel/kernel_state.h"
#include "kernel/widgets.h"
#include "toolkit/base/controls_support.h"
#include <wyn/font.h>

namespace {

// The first E_MOUSE_MOVE win received, or null.
const EVENT* first_move(WINDOW win) {
    for (const SeenEvent& s : seen_events())
        if (s.win == win && s.ev.type == E_MOUSE_MOVE) return &s.ev;
    return nullptr;
}

QWidget* caret_of(WINDOW win) {
    return surface_of(win)->findChild<QWidget*>("wyn_caret");
}

} // namespace

TEST_F(ControlTest, CaretIsPlacedSizedAndShownByTheApplication) {
    wynk_win_set_caret_size(window_, 2, 14);
    wynk_win_set_caret_pos(window_, PNT{5, 7});
    QWidget* caret = caret_of(window_);
    ASSERT_NE(caret, nullptr);
    EXPECT_FALSE(caret->isVisible()) << "hidden until shown";
    wynk_win_set_caret_visible(window_, TRUE);
    EXPECT_TRUE(caret->isVisible());
    EXPECT_EQ(caret->geometry(), QRect(7, 5, 2, 14));
    wynk_win_set_caret_visible(window_, FALSE);
    EXPECT_FALSE(caret->isVisible());
    RCT rct{0, 0, 10, 10};
    WINDOW button = wynk_ctl_create(WT_PUSH_BUTTON, &rct, "", 1, window_, 0, 0);
    wynk_win_set_caret_visible(button, TRUE);
    EXPECT_EQ(native(button)->findChild<QWidget*>("wyn_caret"), nullptr) << "controls have none";
}

namespace {

// Whether the caret was up each time the window's handler ran, by event type.
std::vector<std::pair<int32_t, bool>> caret_while_handled;

int32_t note_caret(WINDOW win, EVENT* ev) {
    if (ev->type == E_CHAR || ev->type == E_MOUSE_MOVE)
        caret_while_handled.emplace_back(ev->type, caret_of(win)->isVisible());
    return record_event(win, ev);
}

} // namespace

TEST_F(ControlTest, CaretIsAwayWhileItsWindowHandlesAMessageAndBackOnceThePassEnds) {
    caret_while_handled.clear();
    window_->handler = note_caret;
    wynk_win_set_caret_size(window_, 2, 14);
    wynk_win_set_caret_visible(window_, TRUE);
    QWidget* surface = surface_of(window_);
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 20), surface->mapToGlobal(QPointF(20, 20)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(surface, &move);
    press_key(surface, Qt::Key_A, QStringLiteral("a"));
    ASSERT_EQ(caret_while_handled.size(), 2u);
    EXPECT_TRUE(caret_while_handled[0].second) << "a mouse move leaves the caret alone";
    EXPECT_EQ(caret_while_handled[1].first, E_CHAR);
    EXPECT_FALSE(caret_while_handled[1].second);
    pump();
    EXPECT_TRUE(caret_of(window_)->isVisible());
    // A caret the application hid stays hidden after the pass.
    wynk_win_set_caret_visible(window_, FALSE);
    press_key(surface, Qt::Key_B, QStringLiteral("b"));
    pump();
    EXPECT_FALSE(caret_of(window_)->isVisible());
}

TEST_F(ControlTest, CursorNumbersMapToShapesAndUnknownOnesChangeNothing) {
    EXPECT_EQ(wynk_win_get_cursor(window_), CURSOR_ARROW);
    wynk_win_set_cursor(window_, CURSOR_IBEAM);
    EXPECT_EQ(surface_of(window_)->cursor().shape(), Qt::IBeamCursor);
    wynk_win_set_cursor(window_, 777);
    EXPECT_EQ(wynk_win_get_cursor(window_), CURSOR_IBEAM);
    EXPECT_EQ(surface_of(window_)->cursor().shape(), Qt::IBeamCursor);
    wynk_win_set_cursor(window_, CURSOR_CROSS);
    EXPECT_EQ(wynk_win_get_cursor(window_), CURSOR_CROSS);
}

TEST_F(ControlTest, BusyCursorLastsUntilTheQueuedEventsAreDone) {
    wynk_scr_set_busy_cursor();
    wynk_scr_set_busy_cursor();
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    pump();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "a second call stacked nothing";
}

TEST_F(ControlTest, TrappedPointerRepeatsTheLastMouseEventAsMove) {
    EVENT down{};
    down.type = E_MOUSE_DOWN;
    down.v.mouse.where = PNT{12, 34};
    down.v.mouse.button = MB_LEFT;
    kcore().mouse_event = down;
    wynk_win_trap_pointer(window_);
    auto* timer = surface_of(window_)->findChild<QTimer*>();
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 50);
    seen_events().clear();
    QElapsedTimer waited;
    waited.start();
    while (!first_move(window_) && waited.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    ASSERT_NE(first_move(window_), nullptr);
    EXPECT_EQ(first_move(window_)->v.mouse.where.h, 34);
    EXPECT_EQ(first_move(window_)->v.mouse.button, MB_LEFT);
    wynk_win_release_pointer();
    EXPECT_EQ(surface_of(window_)->findChild<QTimer*>(), nullptr);
}

TEST_F(ControlTest, ControlFontsAreShownAndWindowFontsReachTheirControls) {
    RCT rct{0, 0, 20, 80};
    WINDOW text = wynk_ctl_create(WT_TEXT, &rct, "Down Time:", 4, window_, 0, 0);
    WINDOW bar = wynk_ctl_create(WT_HSCROLL, &rct, "", 5, window_, 0, 0);
    const QFont before = native(text)->font();
    FONT font = wynv_font_create();
    wynv_font_set_family(font, "Courier New");
    wynv_font_set_size(font, 30);
    wynk_win_set_ctl_font(window_, font);
    EXPECT_EQ(wynk_ctl_get_font(text), font);
    EXPECT_NE(native(text)->font(), before);
    EXPECT_EQ(native(bar)->font(), QApplication::font(native(bar))) << "bars show no text";
    WINDOW later = wynk_ctl_create(WT_PUSH_BUTTON, &rct, "OK", 6, window_, 0, 0);
    EXPECT_EQ(native(later)->font(), native(text)->font());
    wynk_ctl_set_font(later, nullptr);
    EXPECT_EQ(wynk_ctl_get_font(later), nullptr);
    wynk_vobj_destroy(text);
    wynk_vobj_destroy(later);
    wynv_font_destroy(font);
}
