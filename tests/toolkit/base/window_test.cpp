// Windows over Qt widgets: the order of the first events, size while minimised, destruction
// order, close, mouse and keys.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "kernel/keys.h"
#include "kernel/widgets.h"
#include "portable/core_state.h"
#include "toolkit/base/app_support.h"

namespace {

EVENT key_event(int key, Qt::KeyboardModifiers mods, const QString& text = {}) {
    EVENT ev{};
    EXPECT_TRUE(translate_key(key, mods, text, ev));
    return ev;
}

} // namespace

TEST(KeyTranslation, NavigationKeysGiveKeyCodesAndOthersCharacters) {
    EVENT ev = key_event(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(ev.v.chr.ch, KEY_END);
    EXPECT_EQ(ev.v.chr.ch, 310);
    EXPECT_EQ(ev.v.chr.virtual_key, TRUE);
    EXPECT_EQ(ev.v.chr.control, TRUE);
    EXPECT_EQ(ev.v.chr.modifiers, WYN_MOD_CTRL);
    EXPECT_EQ(key_event(Qt::Key_Backtab, Qt::ShiftModifier).v.chr.ch, 315);
    EXPECT_EQ(key_event(Qt::Key_Tab, Qt::ShiftModifier).v.chr.ch, 315);
    EXPECT_EQ(key_event(Qt::Key_End, Qt::NoModifier).v.chr.ch, 308);
    EXPECT_EQ(key_event(Qt::Key_Home, Qt::ControlModifier).v.chr.ch, 309);
    EXPECT_EQ(key_event(Qt::Key_Left, Qt::ControlModifier).v.chr.ch, 313);
    EXPECT_EQ(key_event(Qt::Key_Right, Qt::ControlModifier).v.chr.ch, 314);
    EXPECT_EQ(key_event(Qt::Key_Delete, Qt::NoModifier).v.chr.ch, 127);
    EXPECT_EQ(key_event(Qt::Key_F1, Qt::NoModifier).v.chr.ch, 331);
    EXPECT_EQ(key_event(Qt::Key_F24, Qt::NoModifier).v.chr.ch, 354);

    EVENT a = key_event(Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A"));
    EXPECT_EQ(a.v.chr.ch, 'A');
    EXPECT_EQ(a.v.chr.virtual_key, FALSE);
    EXPECT_EQ(a.v.chr.modifiers, WYN_MOD_SHIFT);
    EXPECT_EQ(key_event(Qt::Key_C, Qt::ControlModifier, QStringLiteral("c")).v.chr.ch, 3);
    EXPECT_EQ(key_event(Qt::Key_Return, Qt::NoModifier).v.chr.ch, '\r');
    EXPECT_EQ(key_event(Qt::Key_Udiaeresis, Qt::NoModifier, QStringLiteral("ü")).v.chr.ch, 0xFC);
    EVENT none{};
    EXPECT_FALSE(translate_key(Qt::Key_Shift, Qt::ShiftModifier, {}, none));
}

class WindowTest : public ToolkitTest {
  protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        startApp();
    }
    static WynSurface* surface(WINDOW win) { return surface_of(win); }
};

TEST_F(WindowTest, CreateComesBeforeSizeAndUpdate) {
    WINDOW win = makeChild(RCT{10, 10, 110, 210});
    ASSERT_NE(win, nullptr);
    std::vector<int32_t> at_return = types_for(win);
    ASSERT_FALSE(at_return.empty());
    EXPECT_EQ(at_return.front(), E_CREATE);
    surface(win)->repaint();
    pump();
    std::vector<int32_t> types = types_for(win);
    auto size = std::find(types.begin(), types.end(), E_SIZE);
    auto update = std::find(types.begin(), types.end(), E_UPDATE);
    ASSERT_NE(size, types.end());
    ASSERT_NE(update, types.end());
    EXPECT_EQ(std::count(types.begin(), types.end(), E_CREATE), 1);
    EXPECT_LT(size - types.begin(), update - types.begin());
    for (const SeenEvent& s : seen_events()) {
        if (s.win != win || s.ev.type != E_SIZE) continue;
        EXPECT_EQ(s.ev.v.size.width, 200);
        EXPECT_EQ(s.ev.v.size.height, 100);
    }
}

TEST_F(WindowTest, InvisibleWindowGetsCreateButNoFocus) {
    WINDOW win = makeChild(RCT{0, 0, 50, 50}, record_event, WSF_INVISIBLE);
    pump();
    std::vector<int32_t> types = types_for(win);
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(types.front(), E_CREATE);
    EXPECT_EQ(std::count(types.begin(), types.end(), E_FOCUS), 0);
}

TEST_F(WindowTest, SizeIsNotSentWhileMinimised) {
    RCT rct{10, 10, 110, 210};
    WINDOW win = wynk_win_create(WT_DOC, &rct, "doc", 0, core().screen, WSF_MINIMIZED, EM_ALL,
                                 record_event, 0);
    ASSERT_NE(win, nullptr);
    QWidget* widget = static_cast<QWidget*>(win->native);
    widget->resize(300, 150);
    pump();
    std::vector<int32_t> types = types_for(win);
    EXPECT_EQ(std::count(types.begin(), types.end(), E_SIZE), 0);
    widget->showNormal();
    pump();
    types = types_for(win);
    EXPECT_GE(std::count(types.begin(), types.end(), E_SIZE), 1);
}

TEST_F(WindowTest, ChildrenAreDestroyedBeforeTheirParent) {
    WINDOW parent = makeChild(RCT{0, 0, 100, 100});
    RCT inner{5, 5, 20, 20};
    WINDOW child =
        wynk_win_create(WT_PLAIN, &inner, nullptr, 0, parent, 0, EM_ALL, record_event, 0);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->kind, WK_CHILD);
    EXPECT_EQ(child->top, parent->top);
    seen_events().clear();
    wynk_vobj_destroy(parent);
    ASSERT_EQ(seen_events().size(), 2u);
    EXPECT_EQ(seen_events()[0].win, child);
    EXPECT_EQ(seen_events()[1].win, parent);
}

TEST_F(WindowTest, CloseIsReportedAndTheWindowStays) {
    WINDOW task = core().task;
    seen_events().clear();
    static_cast<QWidget*>(task->native)->close();
    EXPECT_EQ(types_for(task), (std::vector<int32_t>{E_CLOSE}));
    EXPECT_TRUE(core_win_alive(task));
    EXPECT_TRUE(static_cast<QWidget*>(task->native)->isVisible());
}

TEST_F(WindowTest, MouseAndKeysBecomeEvents) {
    WINDOW win = makeChild(RCT{0, 0, 100, 100});
    pump();
    seen_events().clear();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(12, 34), QPointF(12, 34), Qt::RightButton,
                      Qt::RightButton, Qt::ShiftModifier);
    QCoreApplication::sendEvent(surface(win), &press);
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
    QCoreApplication::sendEvent(surface(win), &end);
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Backtab, Qt::ShiftModifier);
    QCoreApplication::sendEvent(surface(win), &tab);
    QKeyEvent repeated(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"), true, 3);
    QCoreApplication::sendEvent(surface(win), &repeated);

    std::vector<EVENT> got;
    for (const SeenEvent& s : seen_events())
        if (s.win == win && s.ev.type != E_FOCUS && s.ev.type != E_UPDATE) got.push_back(s.ev);
    ASSERT_EQ(got.size(), 6u);
    EXPECT_EQ(got[0].type, E_MOUSE_DOWN);
    EXPECT_EQ(got[0].v.mouse.where.h, 12);
    EXPECT_EQ(got[0].v.mouse.where.v, 34);
    EXPECT_EQ(got[0].v.mouse.button, MB_RIGHT);
    EXPECT_EQ(got[0].v.mouse.shift, TRUE);
    EXPECT_EQ(got[1].v.chr.ch, 310);
    EXPECT_EQ(got[1].v.chr.virtual_key, TRUE);
    EXPECT_EQ(got[2].v.chr.ch, 315);
    for (int i = 3; i < 6; ++i) EXPECT_EQ(got[i].v.chr.ch, 'x');
}

TEST_F(WindowTest, NativeWidgetLeadsBackToItsWindow) {
    WINDOW win = makeChild(RCT{0, 0, 30, 30});
    EXPECT_EQ(wynwi_hwnd_to_window(win->native), win);
    EXPECT_EQ(wynwi_hwnd_to_window(core().task->native), core().task);
    EXPECT_EQ(wynwi_hwnd_to_window(nullptr), nullptr);
}
