// The checked drawing calls: the warnings that let a call proceed with a stand-in, the objects that
// cannot be drawn in, and the update refused while painting.
#include <wyn/errfrm.h>
#include <wyn_checked.h>

#include "checked_support.h"

namespace {

int32_t update_while_painting(WINDOW win, EVENT* ev) {
    record_event(win, ev);
    if (ev->type == E_UPDATE) {
        RCT rct{0, 0, 10, 10};
        wyn_dwin_draw_rect(win, &rct);
        wyn_dwin_update(win);
    }
    return 0;
}

} // namespace

class DrawChecks : public CheckedWindowTest {
  protected:
    void SetUp() override {
        CheckedWindowTest::SetUp();
        win_ = makeChild(RCT{0, 0, 100, 100});
        ASSERT_NE(win_, nullptr);
        ReportRecorder::all().clear();
    }
    DRAW_CTOOLS tools() {
        DRAW_CTOOLS ct{};
        wyn_dwin_get_draw_ctools(win_, &ct);
        return ct;
    }
    WINDOW win_ = nullptr;
};

TEST_F(DrawChecks, UnknownStandardPenWarnsAndDrawsWithTheBlackPen) {
    wyn_dwin_set_std_cpen(win_, STD_PEN_WHITE);
    wyn_dwin_set_std_cpen(win_, 9);
    EXPECT_TRUE(one_report(WYN_MSG_BAD_VALUE, "tdwin", WYN_SEV_WARNING));
    EXPECT_EQ(WYN_COLOR_RGB(tools().pen.color), WYN_COLOR_RGB(COLOR_BLACK));
    EXPECT_EQ(tools().pen.pat, PAT_SOLID);
}

TEST_F(DrawChecks, UnknownStandardBrushWarnsAndFillsWhite) {
    wyn_dwin_set_std_cbrush(win_, STD_BRUSH_BLACK);
    wyn_dwin_set_std_cbrush(win_, -3);
    EXPECT_TRUE(one_report(WYN_MSG_BAD_VALUE, "tdwin", WYN_SEV_WARNING));
    EXPECT_EQ(WYN_COLOR_RGB(tools().brush.color), WYN_COLOR_RGB(COLOR_WHITE));
}

TEST_F(DrawChecks, InvertedRectangleToInvalidateIsOnlyAWarning) {
    RCT inverted{50, 50, 10, 10};
    wyn_dwin_invalidate_rect(win_, &inverted);
    EXPECT_TRUE(one_report(WYN_MSG_BAD_RECT_FORMAT, "tdwin", WYN_SEV_WARNING));
    ReportRecorder::all().clear();
    wyn_dwin_invalidate_rect(win_, nullptr);
    EXPECT_TRUE(ReportRecorder::all().empty());
}

TEST_F(DrawChecks, ControlsAndTextEditsAreNotDrawnIn) {
    RCT rct{0, 0, 20, 60};
    WINDOW button = wynk_ctl_create(WT_PUSH_BUTTON, &rct, "OK", 1, win_, 0, 0);
    wyn_dwin_draw_rect(button, &rct);
    EXPECT_TRUE(one_report(WYN_MSG_INCORRECT_WINDOW_TYPE, "tdwin"));
    ReportRecorder::all().clear();
    win_->state |= WS_TEXT_EDIT;
    wyn_dwin_clear(win_, COLOR_WHITE);
    win_->state &= ~WS_TEXT_EDIT;
    EXPECT_TRUE(one_report(WYN_MSG_INCORRECT_WINDOW_TYPE, "tdwin"));
}

TEST_F(DrawChecks, PaintingMayDrawButNotForceAnUpdate) {
    WINDOW painter = makeChild(RCT{0, 0, 40, 40}, update_while_painting);
    ReportRecorder::all().clear();
    EVENT ev{};
    ev.type = E_UPDATE;
    ev.v.update.rct = RCT{0, 0, 40, 40};
    wynk_win_dispatch_event(painter, &ev);
    EXPECT_TRUE(one_report(WYN_MSG_DURING_UPDATE, "tdwin"));
    EXPECT_EQ(ReportRecorder::all()[0].api, "wyn_dwin_update ");
}

TEST_F(DrawChecks, EveryDrawingFaultUnmarks) {
    PNT p{1, 1};
    expect_one_report_each({
        [&] { wyn_dwin_draw_polyline(win_, &p, 0); },
        [&] { wyn_dwin_draw_arc(win_, nullptr, &p, &p); },
        [&] { wyn_dwin_draw_text(win_, 0, 0, "x", -2); },
        [&] { wyn_dwin_set_draw_mode(win_, 99); },
        [&] { wyn_dwin_get_clip(win_, nullptr); },
        [&] { wyn_dwin_scroll_rect(nullptr, nullptr, 1, 1); },
        [&] { wyn_app_get_default_ctools(nullptr); },
    });
}
