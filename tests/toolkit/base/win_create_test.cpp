// Windows built from definitions and window resources: unit conversion, controls in place
// before E_CREATE, the text-edit hook, and definitions that fail without leaving anything.

#include "kernel/controls.h"
#include "kernel/win_create.h"
#include "portable/core_state.h"
#include "toolkit/base/controls_support.h"
#include <wyn/dlg.h>
#include <wyn/res.h>
#include <wyn/testing.h>

namespace {

char kWindowTitle[] = "Status";
char kOk[] = "OK";

WIN_DEF window_entry(int32_t type = WT_PLAIN) {
    WIN_DEF e{};
    e.type = type;
    e.rct = RCT{0, 0, 200, 300};
    e.text = kWindowTitle;
    return e;
}

WIN_DEF control_entry(int32_t type, int16_t id, RCT rct, int32_t units = WU_PIXELS) {
    WIN_DEF e{};
    e.type = type;
    e.rct = rct;
    e.text = kOk;
    e.units = units;
    e.menu_or_id = static_cast<uint16_t>(id);
    return e;
}

int events_seen = 0;
bool control_found_at_create = false;

int32_t count_events(WINDOW win, EVENT* ev) {
    ++events_seen;
    if (ev->type == E_CREATE) control_found_at_create = wynk_win_get_ctl(win, 1) != nullptr;
    return 0;
}

const WIN_DEF* hooked_entry = nullptr;
WINDOW hooked_window = nullptr;
void* hook_answer = nullptr;

void* fake_tx_create(const void* def, WINDOW win, intptr_t) {
    hooked_entry = static_cast<const WIN_DEF*>(def);
    hooked_window = win;
    return hook_answer;
}

class WinCreateTest : public ToolkitTest {
  protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        startApp();
        events_seen = 0;
        control_found_at_create = false;
        hooked_entry = nullptr;
        hooked_window = nullptr;
    }
    WINDOW create(WIN_DEF* def) {
        return wynk_win_create_def(def, core().task, EM_ALL, count_events, 0);
    }
};

} // namespace

TEST_F(WinCreateTest, DialogUnitsLandOnTheDialogFontsCell) {
    WIN_DEF def[] = {window_entry(),
                     control_entry(WT_PUSH_BUTTON, 1, RCT{8, 4, 22, 44}, WU_DLG_UNITS),
                     control_entry(WT_PUSH_BUTTON, 2, RCT{1, 2, 3, 12}, WU_CHARS), WIN_DEF{}};
    WINDOW win = create(def);
    ASSERT_NE(win, nullptr);
    const QSize units = ctl_dialog_base_units();
    const int w = units.width(), h = units.height();
    const QRect dlg = native(wynk_win_get_ctl(win, 1))->geometry();
    EXPECT_EQ(dlg.left(), w);
    EXPECT_EQ(dlg.top(), h);
    EXPECT_EQ(dlg.width(), (40 * w + 2) / 4);
    EXPECT_EQ(dlg.height(), (14 * h + 4) / 8);
    const QRect chars = native(wynk_win_get_ctl(win, 2))->geometry();
    EXPECT_EQ(chars.left(), 2 * w);
    EXPECT_EQ(chars.top(), h);
    EXPECT_EQ(def[1].rct.left, 4) << "the definition itself is left as it was";
    EXPECT_EQ(def[1].units, WU_DLG_UNITS);
}

// Labels are laid out at so many characters of the dialog font: running text of that length must
// fit, whatever the font's own idea of its average glyph.
TEST_F(WinCreateTest, ATextAsWideAsItsCharactersFitsInTheDialogFont) {
    char low[] = "Low Battery Time:", modem[] = "Set Modem Parameters";
    WIN_DEF def[] = {window_entry(),
                     control_entry(WT_TEXT, 1, RCT{0, 0, 1, int16_t(sizeof low - 1)}, WU_CHARS),
                     control_entry(WT_CHECK_BOX, 2, RCT{2, 0, 3, int16_t(sizeof modem + 3)},
                                   WU_CHARS),
                     WIN_DEF{}};
    def[1].text = low;
    def[2].text = modem;
    WINDOW win = create(def);
    ASSERT_NE(win, nullptr);
    for (int16_t id : {1, 2}) {
        const wyn::testing::TextFit fit = wyn::testing::text_fit(wynk_win_get_ctl(win, id));
        EXPECT_GT(fit.needed_width, 0) << id;
        EXPECT_TRUE(fit.fits()) << id << ": needs " << fit.needed_width << ", has " << fit.width;
    }
    EXPECT_EQ(wyn::testing::text_fit(win).width, 0) << "a window is no labelled control";
}

TEST_F(WinCreateTest, ControlsExistWhenTheWindowHearsItsCreation) {
    WIN_DEF def[] = {window_entry(), control_entry(WT_PUSH_BUTTON, 1, RCT{10, 10, 30, 90}),
                     WIN_DEF{}};
    WINDOW win = create(def);
    ASSERT_NE(win, nullptr);
    EXPECT_TRUE(control_found_at_create);
    EXPECT_EQ(win->handler, count_events);
    EXPECT_EQ(win->event_mask, EM_ALL);
}

TEST_F(WinCreateTest, AGlobalHandlerKeepingTheCreationStillLeavesAWorkingWindow) {
    const CXO_HANDLER keep = [](CXO, EVENT*) -> int32_t { return 0; };
    CXO swallow = wynv_cxo_create(core().screen, 0, 0, keep, EM_BIT(E_CREATE), "keep", 0);
    WIN_DEF def[] = {window_entry(), control_entry(WT_PUSH_BUTTON, 1, RCT{10, 10, 30, 90}),
                     WIN_DEF{}};
    WINDOW win = create(def);
    wynv_cxo_destroy(swallow);
    ASSERT_NE(win, nullptr);
    EXPECT_NE(wynk_win_get_ctl(win, 1), nullptr);
    EXPECT_EQ(win->handler, count_events);
}

TEST_F(WinCreateTest, ABadEntryDestroysTheWindowWithoutAnyEvent) {
    pump();
    const size_t before = core().windows.size();
    WIN_DEF def[] = {window_entry(), control_entry(WT_PUSH_BUTTON, 1, RCT{10, 10, 30, 90}),
                     control_entry(99, 2, RCT{40, 10, 60, 90}), WIN_DEF{}};
    EXPECT_EQ(create(def), nullptr);
    WIN_DEF bad_units[] = {window_entry(), control_entry(WT_EDIT, 1, RCT{0, 0, 10, 10}, 7),
                           WIN_DEF{}};
    EXPECT_EQ(create(bad_units), nullptr);
    WIN_DEF control_first[] = {control_entry(WT_EDIT, 1, RCT{0, 0, 10, 10}), WIN_DEF{}};
    EXPECT_EQ(create(control_first), nullptr);
    pump();
    EXPECT_EQ(events_seen, 0);
    EXPECT_EQ(core().windows.size(), before);
}

TEST_F(WinCreateTest, TextEditEntriesGoThroughTheTextEditLibrary) {
    WIN_DEF def[] = {window_entry(), control_entry(WT_PUSH_BUTTON, 1, RCT{10, 10, 30, 90}),
                     control_entry(WT_TEXT_EDIT, 104, RCT{40, 10, 190, 290}), WIN_DEF{}};
    core().tx_create_def = fake_tx_create;
    static int made = 0;
    hook_answer = &made;
    WINDOW win = create(def);
    ASSERT_NE(win, nullptr);
    EXPECT_EQ(hooked_entry, &def[2]);
    EXPECT_EQ(hooked_window, win);

    wynk_vobj_destroy(win);
    hook_answer = nullptr;
    events_seen = 0;
    EXPECT_EQ(create(def), nullptr) << "a text edit that cannot be made fails the window";
    EXPECT_EQ(events_seen, 0);
    core().tx_create_def = nullptr;
    EXPECT_EQ(create(def), nullptr) << "without the text-edit library";
}

TEST_F(WinCreateTest, WindowResourcesAreCheckedAndCreated) {
    ASSERT_FALSE(program_resources().empty());
    ASSERT_TRUE(wynv_res_open_file(program_resources().c_str()));
    WINDOW status = wynv_win_create_res(101, core().task, EM_ALL, count_events, 0);
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->type, WT_DOC);
    RCT client{};
    wynk_vobj_get_client_rect(status, &client);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 430);

    reported_ids().clear();
    EXPECT_EQ(wynk_win_create_res(4242, core().task, EM_ALL, count_events, 0), nullptr);
    EXPECT_EQ(reported_ids(), (std::vector<WYN_MSG_ID>{0x1530003u}));
    reported_ids().clear();
    RCT rct{0, 0, 10, 10};
    WINDOW button = wynk_ctl_create(WT_PUSH_BUTTON, &rct, "", 1, status, 0, 0);
    EXPECT_EQ(wynv_win_create_res(101, button, EM_ALL, count_events, 0), nullptr);
    EXPECT_EQ(reported_ids(), (std::vector<WYN_MSG_ID>{0x1230001u}));
}

TEST(WinCreateFlags, FlagsThatDoNotFitTheirObjectAreRefused) {
    EXPECT_TRUE(wynv_win_check_flags(131));
    EXPECT_TRUE(wynv_win_check_flags(WSF_INVISIBLE | WSF_VSCROLL | WSF_NO_MENUBAR));
    EXPECT_FALSE(wynv_win_check_flags(WSF_MINIMIZED | WSF_MAXIMIZED));
    EXPECT_FALSE(wynv_win_check_flags(0x10000u));
    EXPECT_TRUE(wynv_ctl_check_flags(WT_CHECK_BOX, CTL_FLAG_CHECKED | CTL_FLAG_DISABLED));
    EXPECT_FALSE(wynv_ctl_check_flags(WT_PUSH_BUTTON, CTL_FLAG_CHECKED));
    EXPECT_TRUE(wynv_ctl_check_flags(WT_PUSH_BUTTON, CTL_FLAG_DEFAULT | CTL_FLAG_INVISIBLE));
    EXPECT_FALSE(wynv_ctl_check_flags(WT_EDIT, CTL_FLAG_MULTI_SEL));
    EXPECT_TRUE(wynv_ctl_check_flags(WT_LIST_BOX, CTL_FLAG_MULTI_SEL | CTL_FLAG_SORTED));
    EXPECT_FALSE(wynv_ctl_check_flags(WT_DOC, 0));
}
