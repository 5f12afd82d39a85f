// Every dialog the program carries, opened as the toolkit builds it: each static text, check box,
// radio and button label fits its rectangle in the font the dialog really shows it in.
#include <gtest/gtest.h>

#include "toolkit/base/app_support.h"

#include <string>
#include <vector>
#include <wyn/checked/dlg.h>
#include <wyn/checked/util.h>
#include <wyn/checked/win.h>
#include <wyn/testing.h>

namespace {

constexpr uint16_t kDialogResource = 1;

int32_t ignore_events(WINDOW, EVENT*) {
    return 0;
}

bool has_label(int32_t type) {
    return type == WT_TEXT || type == WT_CHECK_BOX || type == WT_RADIO_BUTTON ||
           type == WT_PUSH_BUTTON || type == WT_GROUP_BOX;
}

class dialog_fit : public ToolkitTest {
  protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        startApp();
    }

    // The labels of dialog id that do not fit, one line each; opened modeless with a handler
    // that does nothing, so the dialog shows its resource as it is.
    std::vector<std::string> cut_labels(int32_t id) {
        std::vector<std::string> cut;
        WIN_DEF* def = wyn_res_get_dlg_def(id);
        if (!def) return {"dialog " + std::to_string(id) + ": no definition"};
        WINDOW dlg = wyn_dlg_create_res(WT_MODELESS_DLG, id, EM_ALL, ignore_events, 0);
        pump();
        if (!dlg) cut.push_back("dialog " + std::to_string(id) + ": not created");
        for (const WIN_DEF* e = def + 1; dlg && e->type != 0; ++e) {
            if (!has_label(e->type)) continue;
            const auto ctl_id = static_cast<int16_t>(e->menu_or_id & 0xFFFF);
            const wyn::testing::TextFit fit = wyn::testing::text_fit(wyn_win_get_ctl(dlg, ctl_id));
            if (fit.fits()) continue;
            cut.push_back("dialog " + std::to_string(id) + " control " + std::to_string(ctl_id) +
                          " \"" + (e->text ? e->text : "") + "\" needs " +
                          std::to_string(fit.needed_width) + "x" +
                          std::to_string(fit.needed_height) + ", has " + std::to_string(fit.width) +
                          "x" + std::to_string(fit.height));
        }
        if (dlg) wyn_vobj_destroy(dlg);
        pump();
        wyn_res_free_win_def(def);
        return cut;
    }
};

TEST_F(dialog_fit, every_label_of_every_dialog_resource_fits_its_rectangle) {
    const std::vector<int32_t> ids = wyn::testing::resource_ids(kDialogResource);
    // The configuration dialog and the toolkit's standard dialogs at least.
    ASSERT_GE(ids.size(), 2u);
    std::vector<std::string> cut;
    for (int32_t id : ids) {
        const std::vector<std::string> more = cut_labels(id);
        cut.insert(cut.end(), more.begin(), more.end());
    }
    std::string all;
    for (const std::string& line : cut) all += line + "\n";
    EXPECT_TRUE(cut.empty()) << all;
}

} // namespace
