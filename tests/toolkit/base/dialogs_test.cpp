// Dialogs from resources and definitions: the modal loop that ends when the handler destroys
// the dialog, modeless dialogs, the keys of a dialog, the about box, and failures.
#include <QAbstractButton>
#include <QApplication>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <functional>

#include "kernel/controls.h"
#include "kernel/dialogs.h"
#include "kernel/kernel_state.h"
#include "kernel/std_dialogs.h"
#include "portable/core_state.h"
#include "toolkit/base/controls_support.h"
#include <wyn/dlg.h>
#include <wyn/dm.h>
#include <wyn/font.h>
#include <wyn/res.h>

namespace {

struct Expected {
    int16_t id;
    int32_t type;
    bool visible;
};

// What the configuration dialog's handler found when it was created.
std::vector<std::string> faults;
int16_t press_at_create = 0;

void check_configuration_controls(WINDOW dlg) {
    const Expected expected[] = {{5, WT_HSCROLL, true},       {24, WT_TEXT, false},
                                 {25, WT_HSCROLL, false},     {30, WT_LIST_BUTTON, true},
                                 {32, WT_RADIO_BUTTON, true}, {34, WT_CHECK_BOX, true},
                                 {42, WT_EDIT, true},         {1, WT_PUSH_BUTTON, true}};
    for (const Expected& e : expected) {
        WINDOW ctl = wynk_win_get_ctl(dlg, e.id);
        if (!ctl || ctl->type != e.type || native(ctl)->isVisible() != e.visible)
            faults.push_back("control " + std::to_string(e.id));
    }
}

int32_t configuration_handler(WINDOW win, EVENT* ev) {
    record_event(win, ev);
    if (ev->type == E_CREATE) {
        check_configuration_controls(win);
        const int16_t id = press_at_create;
        // Pressed once the dialog's own loop runs.
        QTimer::singleShot(0, [win, id] {
            if (WINDOW button = wynk_win_get_ctl(win, id))
                static_cast<QAbstractButton*>(native(button))->click();
        });
    }
    if (ev->type == E_CONTROL && ev->v.ctl.id == 1) wynk_vobj_destroy(win);
    return 0;
}

class DialogTest : public ToolkitTest {
  protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        startApp();
        faults.clear();
        ASSERT_FALSE(program_resources().empty());
        ASSERT_TRUE(wynv_res_open_file(program_resources().c_str()));
    }
};

std::vector<int32_t> types_of_dialog() {
    std::vector<int32_t> types;
    for (const SeenEvent& s : seen_events())
        if (s.win != core().task) types.push_back(s.ev.type);
    return types;
}

} // namespace

TEST_F(DialogTest, ModalDialogReturnsOnceItsHandlerDestroysIt) {
    press_at_create = 1;
    WINDOW dlg = wynk_dlg_create_res(WT_MODAL_DLG, 102, EM_ALL, configuration_handler, 0);
    EXPECT_NE(dlg, nullptr);
    EXPECT_FALSE(core_win_alive(dlg));
    EXPECT_TRUE(faults.empty()) << faults.front();
    const std::vector<int32_t> types = types_of_dialog();
    ASSERT_GE(types.size(), 3u);
    EXPECT_EQ(types.front(), E_CREATE);
    EXPECT_EQ(types.back(), E_DESTROY);
    EXPECT_NE(std::find(types.begin(), types.end(), E_CONTROL), types.end());
}

TEST_F(DialogTest, ModalDialogReturnsWhenTheApplicationEndsWhileItRuns) {
    // The application is ended from inside the dialog's own loop, as a quitting session or the
    // exit command does: the dialog goes with the task window, and its loop with it.
    QTimer::singleShot(0, [] { wynv_app_destroy(); });
    bool returned = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        // A loop left running holds the dialog's caller for ever; give the test a way out.
        for (QWidget* w : QApplication::topLevelWidgets()) w->close();
        QCoreApplication::exit(1);
    });
    watchdog.start(10000);
    WINDOW dlg = wynk_dlg_create_res(WT_MODAL_DLG, 102, EM_ALL, record_event, 0);
    returned = true;
    watchdog.stop();
    EXPECT_TRUE(returned);
    EXPECT_NE(dlg, nullptr);
    EXPECT_FALSE(core_win_alive(dlg));
}

TEST_F(DialogTest, ModelessDialogReturnsAtOnceAndTakesItsKeys) {
    WINDOW dlg = wynk_dlg_create_res(WT_MODELESS_DLG, 118, EM_ALL, record_event, 0);
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(core_win_alive(dlg));
    EXPECT_EQ(dlg->kind, WK_DIALOG);
    EXPECT_EQ(dlg->type, WT_MODELESS_DLG);
    EXPECT_EQ(dlg->parent, core().task);
    EXPECT_EQ(types_for(dlg).front(), E_CREATE);
    ASSERT_NE(wynk_win_get_ctl(dlg, 1), nullptr);
    EXPECT_EQ(wynk_win_get_ctl(dlg, 1)->type, WT_LIST_BOX);

    // Escape presses the cancel button (control 2), Enter the default one (also control 2 here).
    press_key(native(dlg), Qt::Key_Escape);
    press_key(native(dlg), Qt::Key_Return);
    pump();
    const auto events = control_events(dlg);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].v.ctl.id, 2);
    EXPECT_EQ(events[1].v.ctl.id, 2);
    // F1 asks for help on the control holding the focus.
    WINDOW list = wynk_win_get_ctl(dlg, 1);
    native(list)->setFocus();
    press_key(native(dlg), Qt::Key_F1);
    pump();
    ASSERT_EQ(types_for(dlg).back(), E_HELP);
    EXPECT_EQ(seen_events().back().ev.v.help.obj, list);
    EXPECT_EQ(seen_events().back().ev.v.help.tag, 1);
    char title[64];
    EXPECT_STREQ(wynk_vobj_get_title(dlg, title, sizeof title),
                 "Norvane VoltSentry Plus Alarm Message");
    wynk_vobj_destroy(dlg);
    EXPECT_EQ(types_for(dlg).back(), E_DESTROY);
}

TEST_F(DialogTest, EscapeWithoutACancelButtonAsksTheDialogToClose) {
    static char title[] = "Plain";
    static char ok[] = "OK";
    WIN_DEF def[3] = {};
    def[0].type = WT_MODELESS_DLG;
    def[0].rct = RCT{10, 10, 60, 120};
    def[0].units = WU_DLG_UNITS;
    def[0].text = title;
    def[1].type = WT_PUSH_BUTTON;
    def[1].rct = RCT{30, 40, 44, 80};
    def[1].units = WU_DLG_UNITS;
    def[1].text = ok;
    def[1].menu_or_id = 1;
    WINDOW dlg = wynk_dlg_create_def(def, EM_ALL, record_event, 0);
    ASSERT_NE(dlg, nullptr);
    press_key(native(dlg), Qt::Key_Escape);
    EXPECT_EQ(types_for(dlg).back(), E_CLOSE);
    EXPECT_TRUE(core_win_alive(dlg)) << "closing is the handler's decision";
    press_key(native(dlg), Qt::Key_Return);
    pump();
    EXPECT_TRUE(control_events(dlg).empty()) << "no default button, so Enter is only a key";
    wynk_vobj_destroy(dlg);
}

TEST_F(DialogTest, DialogsThatCannotBeBuiltReportAndReturnNull) {
    reported_ids().clear();
    EXPECT_EQ(wynk_dlg_create_res(WT_MODAL_DLG, 4242, EM_ALL, record_event, 0), nullptr);
    EXPECT_EQ(reported_ids(), (std::vector<WYN_MSG_ID>{0x1530003u}));
    EXPECT_EQ(wynk_dlg_create_res(WT_DOC, 118, EM_ALL, record_event, 0), nullptr);

    static char bad_title[] = "Bad";
    WIN_DEF def[3] = {};
    def[0].type = WT_MODAL_DLG;
    def[0].rct = RCT{0, 0, 50, 50};
    def[0].text = bad_title;
    def[1].type = 77;
    const size_t before = core().windows.size();
    reported_ids().clear();
    EXPECT_EQ(wynk_dlg_create_def(def, EM_ALL, record_event, 0), nullptr);
    EXPECT_EQ(reported_ids(), (std::vector<WYN_MSG_ID>{0x1520006u}));
    pump();
    EXPECT_EQ(core().windows.size(), before);
    EXPECT_TRUE(types_of_dialog().empty());
}

TEST_F(DialogTest, AboutBoxEndsWithTheButtonThatClosedIt) {
    for (int16_t button : {2, 1}) {
        QTimer::singleShot(0, [button] {
            for (WINDOW w : core().windows)
                if (w->kind == WK_DIALOG)
                    static_cast<QAbstractButton*>(native(wynk_win_get_ctl(w, button)))->click();
        });
        EXPECT_EQ(dialogs_show_about_box(), button);
    }
    kcore().config.about_box_id = 4242;
    EXPECT_EQ(dialogs_show_about_box(), -1);
}

TEST_F(DialogTest, TabMovesBetweenTheControlsOfAModelessDialog) {
    WINDOW dlg = wynk_dlg_create_res(WT_MODELESS_DLG, 118, EM_ALL, record_event, 0);
    ASSERT_NE(dlg, nullptr);
    QWidget* list = native(wynk_win_get_ctl(dlg, 1));
    QWidget* clear = native(wynk_win_get_ctl(dlg, 2));
    pump();
    native(dlg)->setFocus();
    press_key(native(dlg), Qt::Key_Tab);
    const QWidget* first = QApplication::focusWidget();
    EXPECT_TRUE(first == list || first == clear);
    press_key(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), first);
    EXPECT_TRUE(QApplication::focusWidget() == list || QApplication::focusWidget() == clear);
    for (int32_t type : types_for(dlg)) EXPECT_NE(type, E_CHAR) << "Tab is the dialog's own key";
    wynk_vobj_destroy(dlg);
}

namespace {

// Runs step on the toolkit dialog that is up, every few milliseconds, until it returns true.
class WhileUp {
  public:
    explicit WhileUp(std::function<bool(WINDOW)> step) {
        QObject::connect(&timer_, &QTimer::timeout, [this, step] {
            QWidget* box = QApplication::activeModalWidget();
            WINDOW dlg = box ? wynwi_hwnd_to_window(box) : nullptr;
            if (dlg && step(dlg)) timer_.stop();
        });
        timer_.start(10);
    }

  private:
    QTimer timer_;
};

void click_button(WINDOW dlg, int16_t id) {
    static_cast<QAbstractButton*>(native(wynk_win_get_ctl(dlg, id)))->click();
}

// The help requests the task window received.
std::vector<EVENT> task_help() {
    std::vector<EVENT> help;
    for (const SeenEvent& s : seen_events())
        if (s.win == core().task && s.ev.type == E_HELP) help.push_back(s.ev);
    return help;
}

QString text_of(WINDOW dlg, int16_t id) {
    return static_cast<QLabel*>(native(wynk_win_get_ctl(dlg, id)))->text();
}

} // namespace

TEST_F(DialogTest, StandardDialogsAreBuiltFromTheToolkitsDialogResources) {
    const dm_responder previous = dm_set_responder(nullptr);
    {
        WhileUp answer([](WINDOW dlg) {
            char title[32];
            EXPECT_STREQ(wynk_vobj_get_title(wynk_win_get_ctl(dlg, 1), title, sizeof title), "OK");
            EXPECT_STREQ(wynk_vobj_get_title(wynk_win_get_ctl(dlg, 4), title, sizeof title),
                         "~Retry");
            EXPECT_FALSE(native(wynk_win_get_ctl(dlg, 2))->isVisible()) << "no title, no button";
            EXPECT_EQ(text_of(dlg, 3), "Retry ~now & then?") << "the question is shown as it is";
            click_button(dlg, 4);
            return true;
        });
        EXPECT_EQ(wynv_dm_post_ask("OK", "Retry", nullptr, "Retry ~now & then?"), 1);
    }
    {
        WhileUp answer([](WINDOW dlg) {
            auto* edit = static_cast<QLineEdit*>(native(wynk_win_get_ctl(dlg, 5)));
            EXPECT_EQ(edit->selectedText(), "initial");
            EXPECT_EQ(text_of(dlg, 4), "Name:");
            edit->setText("typed text that is long");
            click_button(dlg, 1);
            return true;
        });
        char buffer[8] = "initial";
        EXPECT_EQ(wynv_dm_post_string_prompt("Name:", buffer, sizeof buffer), buffer);
        EXPECT_STREQ(buffer, "typed t") << "cut to the buffer";
    }
    {
        // F1 in the error dialog first, then its button on the next look.
        bool pressed = false;
        WhileUp answer([&pressed](WINDOW dlg) {
            EXPECT_EQ(dlg->type, WT_MODAL_DLG);
            if (!pressed) {
                press_key(QApplication::focusWidget(), Qt::Key_F1);
                pressed = true;
                return false;
            }
            auto* text = static_cast<QLabel*>(native(wynk_win_get_ctl(dlg, 3)));
            EXPECT_TRUE(text->text().startsWith("disk full"));
            EXPECT_GE(text->height(), text->heightForWidth(text->width())) << "nothing cut off";
            EXPECT_GT(native(wynk_win_get_ctl(dlg, 1))->y(), text->geometry().bottom());
            click_button(dlg, 1);
            return true;
        });
        wynv_dm_post_error("disk full%s", std::string(12, '\n').c_str());
    }
    dm_set_responder(previous);
    const std::vector<EVENT> help = task_help();
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0].v.help.tid, 32070) << "the error dialog's topic";
    EXPECT_EQ(core().help_topic, 0) << "the topic lasts as long as the dialog";
}

TEST_F(DialogTest, HelpKeyInADialogOfTheWindowSystemAsksForTheDialogsTopic) {
    // Without the toolkit's dialogs the error dialog is the window system's.
    const dm_responder previous = dm_set_responder(nullptr);
    const dm_responder own = dm_set_resource_dialogs(nullptr);
    QTimer presser;
    QObject::connect(&presser, &QTimer::timeout, [&presser] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || !box->isVisible()) return;
        presser.stop();
        press_key(box, Qt::Key_F1);
        box->close();
    });
    presser.start(10);
    wynv_dm_post_error("%s", "disk full");
    dm_set_resource_dialogs(own);
    dm_set_responder(previous);
    const std::vector<EVENT> help = task_help();
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0].v.help.tid, 32070);
    EXPECT_EQ(help[0].v.help.obj, nullptr);
}

TEST_F(DialogTest, HelpKeyInTheFontChooserAsksForTheFontSelectionTopic) {
    FONT font = wynv_font_create();
    QTimer presser;
    QObject::connect(&presser, &QTimer::timeout, [&presser] {
        auto* chooser = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        if (!chooser || !chooser->isVisible()) return;
        presser.stop();
        press_key(chooser, Qt::Key_F1);
        chooser->reject();
    });
    presser.start(10);
    EXPECT_FALSE(wynv_dm_post_font_sel(core().task, font, nullptr, 0));
    wynv_font_destroy(font);
    const std::vector<EVENT> help = task_help();
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0].v.help.tid, 32100);
}

TEST_F(DialogTest, ADialogForAMinimisedWindowStandsOnItsOwnNativelyOnly) {
    QWidget* frame = native(core().task)->window();
    WINDOW owned = wynk_dlg_create_res(WT_MODELESS_DLG, 118, EM_ALL, record_event, 0);
    ASSERT_NE(owned, nullptr);
    EXPECT_EQ(native(owned)->parentWidget(), frame);
    wynk_vobj_destroy(owned);
    frame->showMinimized();
    pump();
    // Window managers hide a minimised window's dialogs with it.
    WINDOW alone = wynk_dlg_create_res(WT_MODELESS_DLG, 118, EM_ALL, record_event, 0);
    ASSERT_NE(alone, nullptr);
    EXPECT_EQ(native(alone)->parentWidget(), nullptr);
    EXPECT_TRUE(native(alone)->isVisible());
    EXPECT_EQ(alone->parent, core().task) << "it still belongs to the task window";
    wynk_vobj_destroy(alone);
    EXPECT_FALSE(core_win_alive(alone));
    frame->showNormal();
}
