// Drawing on a window's backing image: the drawing modes on known pixels, pen widths, hatched
// brushes, clipping, the arrowhead, text at the baseline, and the updates drawing and scrolling
// cause.
#include <QImage>
#include <wyn/res.h>

#include "kernel/drawing.h"
#include "kernel/widgets.h"
#include "kernel/windows.h"
#include "toolkit/base/app_support.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;

class DrawingTest : public ToolkitTest {
  protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        startApp();
        win_ = makeChild(RCT{0, 0, 120, 200});
        ASSERT_NE(win_, nullptr);
        pump();
        wynv_dwin_clear(win_, COLOR_WHITE);
    }
    uint32_t px(int x, int y) const { return surface_of(win_)->backing().pixel(x, y) & 0xFFFFFF; }
    // Columns (or rows) of a line across the image that have colour c.
    int count_row(int y, int x0, int x1, uint32_t c) const {
        int n = 0;
        for (int x = x0; x < x1; ++x) n += px(x, y) == c;
        return n;
    }
    int count_col(int x, int y0, int y1, uint32_t c) const {
        int n = 0;
        for (int y = y0; y < y1; ++y) n += px(x, y) == c;
        return n;
    }
    void fill(const RCT& r, COLOR c, uint32_t mode = M_COPY) {
        DRAW_CTOOLS t;
        wynk_dwin_get_draw_ctools(win_, &t);
        t.pen.pat = PAT_HOLLOW;
        t.brush = DRAW_CBRUSH{PAT_SOLID, c};
        t.mode = mode;
        wynk_dwin_set_draw_ctools(win_, &t);
        wynk_dwin_draw_rect(win_, &r);
    }
    void line(int x0, int y0, int x1, int y1) {
        const PNT from{int16_t(y0), int16_t(x0)}, to{int16_t(y1), int16_t(x1)};
        wynk_dwin_draw_set_pos(win_, &from);
        wynk_dwin_draw_line(win_, &to);
    }
    std::vector<RCT> updates() const {
        std::vector<RCT> out;
        for (const SeenEvent& s : seen_events())
            if (s.win == win_ && s.ev.type == E_UPDATE) out.push_back(s.ev.v.update.rct);
        return out;
    }
    WINDOW win_ = nullptr;
};

} // namespace

TEST_F(DrawingTest, NewWindowHasTheDefaultTools) {
    DRAW_CTOOLS t, d;
    ASSERT_NE(wynk_dwin_get_draw_ctools(win_, &t), nullptr);
    wynv_app_get_default_ctools(&d);
    EXPECT_EQ(t.pen.width, 1);
    EXPECT_EQ(t.pen.pat, 2u);
    EXPECT_EQ(t.pen.style, 0u);
    EXPECT_EQ(t.pen.color, 0x07000000u);
    EXPECT_EQ(t.brush.pat, 2u);
    EXPECT_EQ(t.brush.color, 0x0BFFFFFFu);
    EXPECT_EQ(t.mode, 0u);
    EXPECT_EQ(t.fore_color, 0x07000000u);
    EXPECT_EQ(t.back_color, 0x0BFFFFFFu);
    EXPECT_EQ(t.opaque_text, FALSE);
    EXPECT_EQ(std::memcmp(&t.brush, &d.brush, sizeof t.brush), 0);
    RCT clip;
    wynk_dwin_get_clip(win_, &clip);
    EXPECT_EQ(clip.right, 25000);
    EXPECT_EQ(clip.bottom, 25000);
    EXPECT_EQ(wynk_dwin_get_draw_ctools(nullptr, &t), nullptr);
}

TEST_F(DrawingTest, InvertingTwiceRestoresEveryPixel) {
    fill(RCT{10, 10, 40, 60}, 0x01FF0000);
    const QImage before = surface_of(win_)->backing().copy();
    fill(RCT{0, 0, 50, 100}, COLOR_BLACK, M_NOT_XOR);
    EXPECT_EQ(px(20, 20), 0x00FFFFu);
    EXPECT_EQ(px(80, 5), kBlack);
    EXPECT_EQ(px(150, 5), kWhite); // outside
    fill(RCT{0, 0, 50, 100}, COLOR_BLACK, M_NOT_XOR);
    EXPECT_EQ(surface_of(win_)->backing(), before);
}

TEST_F(DrawingTest, EachModeCombinesPenAndDestinationAsItsTableSays) {
    const uint32_t d = 0x3C5AA5, p = 0x0FF00F;
    const uint32_t expected[8] = {
        p, p & d, ~(p ^ d) & kWhite, (~p | d) & kWhite, ~p & kWhite, ~p & d, p ^ d, p | d};
    for (uint32_t mode = 0; mode < 8; ++mode) {
        fill(RCT{0, 0, 20, 20}, d);
        fill(RCT{0, 0, 20, 20}, p, mode);
        EXPECT_EQ(px(5, 5), expected[mode]) << "mode " << mode;
        // Lines combine the same way.
        fill(RCT{30, 0, 40, 100}, d);
        DRAW_CPEN pen{1, PAT_SOLID, PS_SOLID_LINE, p};
        wynk_dwin_set_cpen(win_, &pen);
        wynk_dwin_set_draw_mode(win_, mode);
        line(0, 35, 100, 35);
        EXPECT_EQ(px(50, 35), expected[mode]) << "line, mode " << mode;
        EXPECT_EQ(px(50, 34), d);
    }
}

TEST_F(DrawingTest, PenWidthZeroDrawsOnePixelAndLinesStopBeforeTheirEnd) {
    DRAW_CPEN pen{0, PAT_SOLID, PS_SOLID_LINE, COLOR_BLACK};
    wynk_dwin_set_cpen(win_, &pen);
    line(10, 20, 50, 20);
    EXPECT_EQ(count_row(20, 0, 200, kBlack), 40);
    EXPECT_EQ(px(10, 20), kBlack);
    EXPECT_EQ(px(49, 20), kBlack);
    EXPECT_EQ(px(50, 20), kWhite);
    EXPECT_EQ(count_row(19, 0, 200, kBlack) + count_row(21, 0, 200, kBlack), 0);
    PNT pos;
    wynk_dwin_get_pos(win_, &pos);
    EXPECT_EQ(pos.h, 50);

    pen.width = 5;
    wynk_dwin_set_cpen(win_, &pen);
    line(100, 60, 160, 60);
    EXPECT_EQ(count_col(130, 40, 80, kBlack), 5);

    pen = DRAW_CPEN{1, PAT_SOLID, PS_DASHED_LINE, COLOR_BLACK};
    wynk_dwin_set_cpen(win_, &pen);
    line(0, 100, 200, 100);
    const int dashed = count_row(100, 0, 200, kBlack);
    EXPECT_GT(dashed, 100);
    EXPECT_LT(dashed, 200);
    wynv_dwin_set_std_cpen(win_, STD_PEN_HOLLOW);
    line(0, 110, 200, 110);
    EXPECT_EQ(count_row(110, 0, 200, kBlack), 0);
}

TEST_F(DrawingTest, RectangleCoversLeftTopButNotRightBottom) {
    wynv_dwin_set_std_cbrush(win_, STD_BRUSH_WHITE);
    wynv_dwin_set_std_cpen(win_, STD_PEN_BLACK);
    fill(RCT{0, 0, 120, 200}, 0x030000FF);
    DRAW_CTOOLS t;
    wynv_app_get_default_ctools(&t);
    wynk_dwin_set_draw_ctools(win_, &t);
    const RCT r{10, 20, 30, 60}; // top, left, bottom, right
    wynk_dwin_draw_rect(win_, &r);
    EXPECT_EQ(px(20, 10), kBlack);
    EXPECT_EQ(px(59, 29), kBlack);
    EXPECT_EQ(px(60, 29), 0x0000FFu);
    EXPECT_EQ(px(59, 30), 0x0000FFu);
    EXPECT_EQ(px(40, 20), kWhite); // the brush inside
    // With a hollow pen the brush alone covers the same pixels.
    fill(RCT{50, 20, 70, 60}, 0x0200FF00);
    EXPECT_EQ(px(20, 50), 0x00FF00u);
    EXPECT_EQ(px(59, 69), 0x00FF00u);
    EXPECT_EQ(px(60, 69), 0x0000FFu);
    // XOR with pen and brush touches each pixel once.
    fill(r, 0x030000FF);
    const QImage before = surface_of(win_)->backing().copy();
    t.mode = M_XOR;
    t.pen.color = 0x01FF0000;
    t.brush.color = 0x0200FF00;
    wynk_dwin_set_draw_ctools(win_, &t);
    wynk_dwin_draw_rect(win_, &r);
    EXPECT_EQ(px(20, 10), 0xFF00FFu);
    EXPECT_EQ(px(59, 20), 0xFF00FFu);
    EXPECT_EQ(px(40, 29), 0xFF00FFu);
    EXPECT_EQ(px(40, 20), 0x00FFFFu);
    EXPECT_EQ(px(58, 28), 0x00FFFFu);
    wynk_dwin_draw_rect(win_, &r);
    EXPECT_EQ(surface_of(win_)->backing(), before);
}

TEST_F(DrawingTest, HatchedBrushesAlternateBrushAndBackgroundColours) {
    DRAW_CTOOLS t;
    wynv_app_get_default_ctools(&t);
    t.pen.pat = PAT_HOLLOW;
    t.brush = DRAW_CBRUSH{PAT_HORZ, 0x01FF0000};
    t.back_color = 0x030000FF;
    wynk_dwin_set_draw_ctools(win_, &t);
    const RCT r{0, 0, 64, 64};
    wynk_dwin_draw_rect(win_, &r);
    int red_rows = 0, blue_rows = 0;
    for (int y = 0; y < 64; ++y) {
        red_rows += count_row(y, 0, 64, 0xFF0000) == 64;
        blue_rows += count_row(y, 0, 64, 0x0000FF) == 64;
    }
    EXPECT_EQ(red_rows, 8); // one line in eight
    EXPECT_EQ(blue_rows, 56);

    t.brush.pat = PAT_CROSS;
    wynk_dwin_set_draw_ctools(win_, &t);
    const RCT s{0, 100, 64, 164};
    wynk_dwin_draw_rect(win_, &s);
    int full_rows = 0, full_cols = 0;
    for (int i = 0; i < 64; ++i) {
        full_rows += count_row(i, 100, 164, 0xFF0000) == 64;
        full_cols += count_col(100 + i, 0, 64, 0xFF0000) == 64;
    }
    EXPECT_EQ(full_rows, 8);
    EXPECT_EQ(full_cols, 8);

    t.brush.pat = PAT_HOLLOW;
    wynk_dwin_set_draw_ctools(win_, &t);
    const QImage before = surface_of(win_)->backing().copy();
    wynk_dwin_draw_rect(win_, &r);
    EXPECT_EQ(surface_of(win_)->backing(), before);
}

TEST_F(DrawingTest, ClipRectangleLimitsEveryOperation) {
    const RCT clip{10, 10, 20, 30};
    wynk_dwin_set_clip(win_, &clip);
    RCT back;
    wynk_dwin_get_clip(win_, &back);
    EXPECT_EQ(std::memcmp(&back, &clip, sizeof clip), 0);
    fill(RCT{0, 0, 120, 200}, COLOR_BLACK);
    EXPECT_EQ(px(10, 10), kBlack);
    EXPECT_EQ(px(29, 19), kBlack);
    EXPECT_EQ(px(30, 15), kWhite);
    EXPECT_EQ(px(15, 20), kWhite);
    EXPECT_EQ(px(9, 15), kWhite);
    wynk_dwin_set_clip(win_, nullptr);
    fill(RCT{0, 0, 120, 200}, COLOR_BLACK);
    EXPECT_EQ(px(150, 100), kBlack);
}

TEST(ArrowHead, FixedPointCornersFollowThePenWidth) {
    // Width 0 counts as 1: 8 pixels long, 27 * 2 / 16 = 3.375 pixels to each side.
    std::optional<ArrowHead> h = drawing_arrow_head(QPoint(100, 50), QPoint(0, 50), 0);
    ASSERT_TRUE(h);
    EXPECT_EQ(h->tip, QPoint(100, 50));
    EXPECT_EQ(h->left, QPoint(92, 53));
    EXPECT_EQ(h->right, QPoint(92, 47));
    // Width 3: 16 long, 6.75 to each side, rounded to 7.
    h = drawing_arrow_head(QPoint(100, 50), QPoint(0, 50), 3);
    EXPECT_EQ(h->left, QPoint(84, 57));
    EXPECT_EQ(h->right, QPoint(84, 43));
    // Diagonal: the direction is normalised to 16 with an integer square root.
    h = drawing_arrow_head(QPoint(100, 100), QPoint(0, 0), 1);
    EXPECT_EQ(h->left, QPoint(92, 97));
    EXPECT_EQ(h->right, QPoint(97, 92));
    // A long line is halved into range first and points the same way.
    h = drawing_arrow_head(QPoint(100, 50), QPoint(-30000, 50), 1);
    EXPECT_EQ(h->left, QPoint(92, 53));
    // Pointing left and up.
    h = drawing_arrow_head(QPoint(10, 10), QPoint(10, 200), 1);
    EXPECT_EQ(h->left, QPoint(13, 18));
    EXPECT_EQ(h->right, QPoint(7, 18));
    EXPECT_FALSE(drawing_arrow_head(QPoint(5, 5), QPoint(5, 5), 1));
}

TEST_F(DrawingTest, ArrowedLineFillsItsHeadsInThePenColour) {
    DRAW_CPEN pen{0, PAT_SOLID, PS_SOLID_LINE, 0x01FF0000};
    wynk_dwin_set_cpen(win_, &pen);
    const PNT from{50, 20}, to{50, 120};
    wynk_dwin_draw_set_pos(win_, &from);
    wynk_dwin_draw_aline(win_, &to, TRUE, TRUE);
    EXPECT_EQ(px(70, 50), 0xFF0000u);
    EXPECT_EQ(px(113, 52), 0xFF0000u); // inside the end's head
    EXPECT_EQ(px(113, 55), kWhite);
    EXPECT_EQ(px(27, 48), 0xFF0000u);            // inside the start's head
    EXPECT_EQ(px(70, 52), kWhite);               // beside the shaft
    wynk_dwin_draw_aline(win_, &to, TRUE, TRUE); // no length: only the line's nothing
}

TEST_F(DrawingTest, TextSitsOnItsBaseline) {
    FONT font = wynv_font_create();
    wynv_font_set_family(font, "helvetica");
    wynv_font_set_size(font, 24);
    wynv_dwin_set_font(win_, font);
    wynv_font_destroy(font);
    wynk_dwin_draw_text(win_, 10, 60, "HHHH", -1);
    int top = -1, bottom = -1;
    for (int y = 0; y < 120; ++y) {
        if (count_row(y, 0, 200, kWhite) == 200) continue;
        if (top < 0) top = y;
        bottom = y;
    }
    EXPECT_EQ(bottom, 59); // the last row above the baseline
    int32_t ascent = 0;
    wynk_font_get_metrics(wynk_dwin_get_font(win_), nullptr, &ascent, nullptr);
    EXPECT_GE(top, 60 - ascent);
    EXPECT_LT(top, 45);
    // Only the given number of bytes is drawn.
    wynv_dwin_clear(win_, COLOR_WHITE);
    wynk_dwin_draw_text(win_, 10, 60, "HHHH", 1);
    const int one = wynk_dwin_get_text_width(win_, "H", -1);
    EXPECT_EQ(count_col(10 + one + 3, 0, 120, kWhite), 120);
    // Opaque text fills its cell with the background colour.
    wynk_dwin_set_back_color(win_, 0x030000FF);
    DRAW_CTOOLS t;
    wynk_dwin_get_draw_ctools(win_, &t);
    t.opaque_text = TRUE;
    wynk_dwin_set_draw_ctools(win_, &t);
    wynk_dwin_draw_text(win_, 100, 100, "H", -1);
    EXPECT_EQ(px(100, 100 - ascent + 1), 0x0000FFu);
}

TEST_F(DrawingTest, ClearFillsTheClientAreaAndKeepsTheTools) {
    DRAW_CTOOLS before, after;
    wynv_dwin_set_std_cpen(win_, STD_PEN_RUBBER);
    wynk_dwin_set_draw_mode(win_, M_XOR);
    wynk_dwin_get_draw_ctools(win_, &before);
    EXPECT_EQ(before.pen.pat, PAT_RUBBER);
    wynv_dwin_clear(win_, 0x0200FF00);
    EXPECT_EQ(px(0, 0), 0x00FF00u);
    EXPECT_EQ(px(199, 119), 0x00FF00u);
    wynk_dwin_get_draw_ctools(win_, &after);
    EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
}

TEST_F(DrawingTest, ShapesDrawInsideTheirRectangles) {
    DRAW_CTOOLS t;
    wynv_app_get_default_ctools(&t);
    t.brush.color = COLOR_BLACK;
    wynk_dwin_set_draw_ctools(win_, &t);
    const RCT r{10, 10, 50, 90};
    wynk_dwin_draw_oval(win_, &r);
    EXPECT_EQ(px(50, 30), kBlack);
    EXPECT_EQ(px(11, 11), kWhite);
    EXPECT_EQ(count_row(9, 0, 200, kBlack) + count_row(50, 0, 200, kBlack), 0);
    const PNT tri[3] = {{60, 100}, {100, 100}, {100, 180}};
    wynk_dwin_draw_polygon(win_, tri, 3);
    EXPECT_EQ(px(120, 90), kBlack);
    EXPECT_EQ(px(170, 65), kWhite);
    // A pie from three o'clock to twelve o'clock covers the upper right quarter.
    wynv_dwin_clear(win_, COLOR_WHITE);
    const PNT right{30, 200}, up{0, 50};
    wynk_dwin_draw_pie(win_, &r, &right, &up);
    EXPECT_EQ(px(60, 20), kBlack);
    EXPECT_EQ(px(40, 20), kWhite);
    EXPECT_EQ(px(60, 40), kWhite);
}

TEST_F(DrawingTest, InvalidatingGivesAnUpdateButDrawingDoesNot) {
    pump();
    seen_events().clear();
    fill(RCT{0, 0, 50, 50}, COLOR_BLACK);
    line(0, 80, 100, 80);
    pump();
    EXPECT_TRUE(updates().empty());

    const RCT area{5, 6, 15, 26};
    wynk_dwin_invalidate_rect(win_, &area);
    wynk_dwin_update(win_);
    std::vector<RCT> got = updates();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(std::memcmp(&got[0], &area, sizeof area), 0);
}

namespace {

std::vector<BOOLEAN> needed;

int32_t check_needed(WINDOW win, EVENT* ev) {
    if (ev->type == E_UPDATE) {
        const RCT inside{12, 12, 14, 14}, outside{80, 80, 90, 90};
        needed.push_back(wynk_dwin_is_update_needed(win, &inside));
        needed.push_back(wynk_dwin_is_update_needed(win, &outside));
    }
    return record_event(win, ev);
}

} // namespace

TEST_F(DrawingTest, UpdateIsNeededOnlyWhereTheRepaintIs) {
    WINDOW other = makeChild(RCT{0, 0, 100, 100}, check_needed);
    ASSERT_NE(other, nullptr);
    pump();
    needed.clear();
    const RCT area{10, 10, 20, 20};
    wynk_dwin_invalidate_rect(other, &area);
    wynk_dwin_update(other);
    ASSERT_EQ(needed.size(), 2u);
    EXPECT_TRUE(needed[0]);
    EXPECT_FALSE(needed[1]);
    // Outside an update everything may show.
    const RCT far{80, 80, 90, 90};
    EXPECT_TRUE(wynk_dwin_is_update_needed(other, &far));
}

TEST_F(DrawingTest, ScrollingMovesPixelsAndInvalidatesTheUncoveredStrip) {
    pump();
    line(0, 10, 200, 10);
    seen_events().clear();
    const RCT all{0, 0, 120, 200};
    wynk_dwin_scroll_rect(win_, &all, 0, 5);
    EXPECT_EQ(count_row(15, 0, 200, kBlack), 200);
    EXPECT_EQ(count_row(10, 0, 200, kBlack), 0);
    wynk_dwin_update(win_);
    pump();
    std::vector<RCT> got = updates();
    ASSERT_FALSE(got.empty());
    for (const RCT& r : got) {
        EXPECT_EQ(r.top, 0);
        EXPECT_LE(r.bottom, 5);
    }
    // Scrolling beyond the rectangle uncovers all of it.
    seen_events().clear();
    const RCT part{20, 20, 40, 60};
    wynk_dwin_scroll_rect(win_, &part, 100, 0);
    wynk_dwin_update(win_);
    got = updates();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(std::memcmp(&got[0], &part, sizeof part), 0);
}

TEST_F(DrawingTest, WindowWithoutSurfaceDrawsThroughAGivenPainter) {
    // A print window drawing on a 300-dpi page.
    WINDOW page = windows_new_object(WK_PRINT, WT_PRINT, nullptr, 0, EM_ALL, record_event, 0);
    EXPECT_EQ(drawing_state(page), nullptr);
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(11811);
    image.setDotsPerMeterY(11811);
    {
        QPainter painter(&image);
        drawing_attach_painter(page, &painter);
        ASSERT_NE(drawing_state(page), nullptr);
        wynv_dwin_set_std_cbrush(page, STD_BRUSH_BLACK);
        const RCT r{10, 10, 20, 30};
        wynk_dwin_draw_rect(page, &r);
        wynk_dwin_draw_text(page, 50, 200, "Page 1", -1);
        drawing_detach_painter(page);
    }
    EXPECT_EQ(image.pixel(15, 15) & 0xFFFFFF, kBlack);
    EXPECT_EQ(image.pixel(30, 15) & 0xFFFFFF, kWhite);
    EXPECT_EQ(drawing_state(page), nullptr);
    // The text was set in a font mapped for the page's resolution: 12 points are 50 pixels.
    int inked_rows = 0;
    for (int y = 100; y < 260; ++y) {
        bool any = false;
        for (int x = 50; x < 400; ++x) any |= (image.pixel(x, y) & 0xFFFFFF) != kWhite;
        inked_rows += any;
    }
    EXPECT_GT(inked_rows, 30);
    wynk_vobj_destroy(page);
}

namespace {

const char* const kSquareXpm[] = {"4 4 2 1", "  c #FFFFFF", "x c #FF0000", "xxxx",
                                  "x  x",    "x  x",        "xxxx"};
const WYN_RES_ICON kIcons[] = {{nullptr, 9012, 6, kSquareXpm}};
const WYN_RES_STRING kStrings[] = {{30022, "Liberation Serif"}};

} // namespace

TEST_F(DrawingTest, IconsAndBuiltInFacesComeFromTheProgramsResources) {
    WYN_RES_MODULE module{};
    module.icons = kIcons;
    module.icon_count = 1;
    module.strings = kStrings;
    module.string_count = 1;
    wynwi_set_resources(&module);
    EXPECT_TRUE(wynk_dwin_draw_icon(win_, 30, 40, 9012));
    EXPECT_EQ(px(30, 40), 0xFF0000u);
    EXPECT_EQ(px(31, 41), kWhite);
    EXPECT_EQ(px(33, 43), 0xFF0000u);
    EXPECT_FALSE(wynk_dwin_draw_icon(win_, 0, 0, 4711));

    wynv_dwin_set_font_family(win_, "helvetica");
    EXPECT_NE(std::string(wynv_dwin_get_font_family_mapped(win_)).find("Serif"), std::string::npos);
    wynwi_set_resources(nullptr);
}
