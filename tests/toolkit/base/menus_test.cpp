// Menu bars from menu trees, the commands their items, pop-ups and keys deliver, item state by
// tag, and the task window's bar from the program's resources.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "kernel/accelerators.h"
#include "kernel/app_loop.h"
#include "kernel/dialogs.h"
#include "kernel/menus.h"
#include "kernel/std_dialogs.h"
#include "kernel/widgets.h"
#include "portable/core_state.h"
#include "toolkit/base/app_support.h"
#include <wyn/menu.h>
#include <wyn/res.h>

namespace {

char* t(const char* s) {
    return const_cast<char*>(s);
}

constexpr uint16_t kOn = MENU_FLAG_ENABLED;

MENU_ITEM more_items[] = {{201, t("~Zoom"), 0, kOn, nullptr, 0}, {}};
MENU_ITEM view_items[] = {
    {202, t("~Status"), 0, kOn | MENU_FLAG_CHECKABLE | MENU_FLAG_CHECKED, nullptr, 0},
    {203, t("~More"), 0, kOn, more_items, 0},
    {}};
MENU_ITEM file_items[] = {{101, t("~Open"), 0, kOn, nullptr, 77},
                          {102, t("Save ~As & Exit"), 0, kOn, nullptr, 0},
                          {31999, t(""), 0, MENU_FLAG_SEPARATOR, nullptr, 0},
                          {103, t("~Log"), 0, kOn | MENU_FLAG_CHECKABLE, nullptr, 0},
                          {}};
MENU_ITEM bar_items[] = {{1, t("~File"), 0, kOn, file_items, 0},
                         {2, t("~View~~"), 0, kOn, view_items, 0},
                         {MENU_TAG_FONT, t("F~ont"), 0, kOn, nullptr, 0},
                         {}};

QAction* find(const QList<QAction*>& actions, int tag) {
    for (QAction* a : actions) {
        if (a->data().toInt() == tag) return a;
        if (a->menu())
            if (QAction* found = find(a->menu()->actions(), tag)) return found;
    }
    return nullptr;
}

std::vector<EVENT> events_of(WINDOW win, int32_t type) {
    std::vector<EVENT> out;
    for (const SeenEvent& s : seen_events())
        if (s.win == win && s.ev.type == type) out.push_back(s.ev);
    return out;
}

bool reported(WYN_MSG_ID id) {
    for (WYN_MSG_ID r : reported_ids())
        if (r == id) return true;
    return false;
}

class MenuTest : public ToolkitTest {
  protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        startApp();
        task_ = core().task;
        ASSERT_NE(task_, nullptr);
        wynk_menu_set_tree(task_, bar_items);
        pump();
    }

    QMenuBar* bar() const {
        auto* frame = dynamic_cast<WynTaskWindow*>(widget_of(task_));
        return frame ? dynamic_cast<QMenuBar*>(frame->menuWidget()) : nullptr;
    }
    QAction* item(int tag) const { return find(bar()->actions(), tag); }

    WINDOW task_ = nullptr;
};

} // namespace

TEST_F(MenuTest, ATreeBuildsTheBarWithNativeTitlesAndMnemonics) {
    ASSERT_NE(bar(), nullptr);
    EXPECT_TRUE(wynk_win_has_menu(task_));
    const QList<QAction*> top = bar()->actions();
    ASSERT_EQ(top.size(), 3);
    EXPECT_EQ(top[0]->text(), "&File");
    EXPECT_EQ(top[1]->text(), "&View~");
    EXPECT_EQ(top[2]->text(), "F&ont");
    ASSERT_NE(top[0]->menu(), nullptr);
    const QList<QAction*> file = top[0]->menu()->actions();
    ASSERT_EQ(file.size(), 4);
    EXPECT_EQ(file[1]->text(), "Save &As && Exit");
    EXPECT_TRUE(file[2]->isSeparator());
    EXPECT_TRUE(file[3]->isCheckable());
    EXPECT_FALSE(file[3]->isChecked());
    EXPECT_TRUE(item(202)->isChecked());
    ASSERT_NE(item(201), nullptr) << "items two submenus deep are built";

    WINDOW child = makeChild(RCT{0, 0, 50, 50});
    EXPECT_FALSE(wynk_win_has_menu(child));
}

TEST_F(MenuTest, ChoosingAnItemSendsItsTagAsCommandAndLeavesTheCheckMarkToTheApplication) {
    item(201)->trigger();
    item(103)->trigger();
    const auto commands = events_of(task_, E_COMMAND);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].v.cmd.tag, 201);
    EXPECT_FALSE(commands[0].v.cmd.shift);
    EXPECT_FALSE(commands[0].v.cmd.control);
    EXPECT_EQ(commands[1].v.cmd.tag, 103);
    EXPECT_FALSE(item(103)->isChecked());
}

TEST_F(MenuTest, ItemsAreEnabledCheckedAndRetitledByTagInsideSubmenus) {
    wynk_menu_set_item_enabled(task_, 201, FALSE);
    wynk_menu_set_item_checked(task_, 103, TRUE);
    wynk_menu_set_item_checked(task_, 202, FALSE);
    wynk_menu_set_item_title(task_, 202, "~Hidden & shown");
    wynk_menu_set_item_enabled(task_, MENU_TAG_FONT_ALIAS, FALSE);
    EXPECT_FALSE(item(201)->isEnabled());
    EXPECT_TRUE(item(103)->isChecked());
    EXPECT_FALSE(item(202)->isChecked());
    EXPECT_TRUE(item(202)->isCheckable()) << "a new title keeps the other state";
    EXPECT_EQ(item(202)->text(), "&Hidden && shown");
    EXPECT_FALSE(item(MENU_TAG_FONT)->isEnabled());
    wynk_menu_set_item_enabled(task_, 201, TRUE);
    EXPECT_TRUE(item(201)->isEnabled());
    EXPECT_TRUE(reported_ids().empty());
}

TEST_F(MenuTest, GetTreeReturnsTheMenuAsItStandsInPortableForm) {
    wynk_menu_set_item_enabled(task_, 101, FALSE);
    wynk_menu_set_item_checked(task_, 103, TRUE);
    MENU_ITEM* tree = wynk_menu_get_tree(task_);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree[0].tag, 1);
    EXPECT_STREQ(tree[1].text, "~View~~");
    EXPECT_EQ(tree[3].tag, 0);
    const MENU_ITEM* file = tree[0].submenu;
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file[0].flags, 0u);
    EXPECT_EQ(file[0].app_data, 77);
    EXPECT_STREQ(file[1].text, "Save ~As & Exit");
    EXPECT_EQ(file[2].flags & MENU_FLAG_SEPARATOR, MENU_FLAG_SEPARATOR);
    EXPECT_EQ(file[3].flags, kOn | MENU_FLAG_CHECKABLE | MENU_FLAG_CHECKED);
    EXPECT_EQ(file[4].tag, 0);
    ASSERT_NE(tree[1].submenu[1].submenu, nullptr);
    EXPECT_EQ(tree[1].submenu[1].submenu[0].tag, 201);

    // The copy builds the same bar again.
    wynk_menu_set_tree(task_, tree);
    wynv_res_free_menu_tree(tree);
    pump();
    EXPECT_FALSE(item(101)->isEnabled());
    EXPECT_EQ(item(102)->text(), "Save &As && Exit");
}

TEST_F(MenuTest, UnknownApplicationTagsAreReportedAndStandardTagsIgnored) {
    wynk_menu_set_item_checked(task_, 999, TRUE);
    EXPECT_TRUE(reported(WYN_MSG_BAD_VALUE));
    reported_ids().clear();
    wynk_menu_set_item_enabled(task_, MENU_TAG_CUT, FALSE);
    wynk_menu_set_item_title(task_, 32462, "Contents");
    EXPECT_TRUE(reported_ids().empty());
    wynk_menu_set_tree(task_, nullptr);
    EXPECT_TRUE(reported(WYN_MSG_NULL_WINDOW));
    EXPECT_NE(item(101), nullptr) << "the old bar stays";
}

TEST_F(MenuTest, StandardItemsAskForHelpAndFontsSelectionIsKeptWithTheMenu) {
    EXPECT_EQ(wynk_menu_get_font_sel(task_, FALSE), nullptr);
    FONT font = wynv_font_create();
    wynv_font_set_size(font, 17);
    wynk_menu_set_font_sel(task_, font);
    wynv_font_destroy(font);
    FONT own = wynk_menu_get_font_sel(task_, FALSE);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(wynv_font_get_size(own), 17);
    FONT copy = wynk_menu_get_font_sel(task_, TRUE);
    EXPECT_NE(copy, own);
    EXPECT_EQ(wynv_font_get_size(copy), 17);
    wynv_font_destroy(copy);
    wynk_menu_set_tree(task_, bar_items);
    EXPECT_EQ(wynk_menu_get_font_sel(task_, FALSE), own) << "a new bar keeps the selection";
    wynk_menu_set_font_sel(task_, nullptr);
    EXPECT_EQ(wynk_menu_get_font_sel(task_, FALSE), nullptr);

    menus_command(task_, MENU_TAG_HELP);
    const auto help = events_of(task_, E_HELP);
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0].v.help.tag, 0) << "help on the focused object, not on the help item";
    EXPECT_EQ(help[0].v.help.tid, 0);
    EXPECT_TRUE(events_of(task_, E_COMMAND).empty());
}

TEST_F(MenuTest, APopUpMenuChoiceArrivesAsCommandEvenForAWindowWithoutBar) {
    WINDOW child = makeChild(RCT{0, 0, 200, 200});
    pump();
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) return;
        if (QAction* open = find(menu->actions(), 102)) open->trigger();
        menu->close();
    });
    wynk_menu_popup(file_items, child, PNT{50, 60}, 1, 102);
    const auto commands = events_of(child, E_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].v.cmd.tag, 102);
}

namespace {

// Chooses item 101 of the pop-up menu that is up, with F1 held down when with_f1 is set.
void choose_open(bool with_f1) {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return;
    QKeyEvent down(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    if (with_f1) QApplication::sendEvent(menu, &down);
    find(menu->actions(), 101)->trigger();
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_F1, Qt::NoModifier);
    if (with_f1) QApplication::sendEvent(menu, &up);
    menu->close();
}

} // namespace

TEST_F(MenuTest, AnItemChosenWhileF1IsHeldAsksForHelpOnItself) {
    QTimer::singleShot(0, [] { choose_open(true); });
    wynk_menu_popup(file_items, task_, PNT{50, 60}, 1, 0);
    const auto help = events_of(task_, E_HELP);
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0].v.help.obj, task_);
    EXPECT_EQ(help[0].v.help.tag, 101);
    EXPECT_TRUE(events_of(task_, E_COMMAND).empty());
    QTimer::singleShot(0, [] { choose_open(false); });
    wynk_menu_popup(file_items, task_, PNT{50, 60}, 1, 0);
    const auto commands = events_of(task_, E_COMMAND);
    ASSERT_EQ(commands.size(), 1u) << "once F1 is up, a choice is a command again";
    EXPECT_EQ(commands[0].v.cmd.tag, 101);

    // From the menu bar: F1 serves one choice, even when its release is never seen.
    QKeyEvent down(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(item(1)->menu(), &down);
    item(102)->trigger();
    item(102)->trigger();
    ASSERT_EQ(events_of(task_, E_HELP).size(), 2u);
    EXPECT_EQ(events_of(task_, E_HELP)[1].v.help.tag, 102);
    EXPECT_EQ(events_of(task_, E_COMMAND).size(), 2u);
}

namespace {

const WYN_RES_ACCEL kKeys[] = {{ACC_VIRTKEY | ACC_CONTROL, 'L', 101},
                               {ACC_VIRTKEY, 0x70, MENU_TAG_HELP},
                               {ACC_VIRTKEY | ACC_SHIFT, 0x2E, MENU_TAG_CUT},
                               {ACC_VIRTKEY, 0xE9, 102}};
const WYN_RES_ACCEL_TABLE kTables[] = {{MENU_ACCEL_TABLE, 4, kKeys}};

class AcceleratorTest : public ToolkitTest {
  protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        module_.accels = kTables;
        module_.accel_count = 1;
        give_startup_resources(module_);
        wynwi_set_resources(&module_);
        startApp();
        task_ = core().task;
        wynk_menu_set_tree(task_, bar_items);
    }
    void TearDown() override {
        ToolkitTest::TearDown();
        wynwi_set_resources(nullptr);
    }

    QShortcut* shortcut(const QKeySequence& keys) const {
        for (QShortcut* s : widget_of(task_)->findChildren<QShortcut*>())
            if (s->key() == keys) return s;
        return nullptr;
    }

    WYN_RES_MODULE module_{};
    WINDOW task_ = nullptr;
};

} // namespace

TEST_F(AcceleratorTest, TheTablesKeysBecomeShortcutsThatDeliverTheirCommands) {
    EXPECT_EQ(widget_of(task_)->findChildren<QShortcut*>().size(), 3)
        << "a key without a native equivalent is left out";
    EXPECT_EQ(accelerators_key_sequence(kKeys[2]), QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    EXPECT_EQ(accelerators_key_sequence({ACC_CONTROL, 'x', 1}), QKeySequence(Qt::CTRL | Qt::Key_X));

    QShortcut* ctrl_l = shortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    ASSERT_NE(ctrl_l, nullptr);
    emit ctrl_l->activated();
    const auto commands = events_of(task_, E_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].v.cmd.tag, 101);

    QShortcut* f1 = shortcut(QKeySequence(Qt::Key_F1));
    ASSERT_NE(f1, nullptr);
    emit f1->activated();
    EXPECT_EQ(events_of(task_, E_HELP).size(), 1u);
    EXPECT_EQ(events_of(task_, E_COMMAND).size(), 1u);
}

namespace {

constexpr char kScripts[] = VS_TEST_DATA "/../../resources";

// The task window of a test that opened the database compiled from the program's scripts.
class ResourceMenuTest : public ToolkitTest {
  protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        char pattern[] = "/tmp/menus_testXXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        const std::string command = std::string(VS_BIN_DIR) + "/wynrc --db " + dir_ +
                                    "/menus.wdb -o " + dir_ + "/menus.cpp " + kScripts +
                                    "/menus.rc " + kScripts + "/voltsentry.rc";
        ASSERT_EQ(std::system(command.c_str()), 0);
        give_startup_resources(module_);
        config_.menu_bar_id = 1000;
        wynwi_set_resources(&module_);
        ASSERT_TRUE(wynv_res_open_file((dir_ + "/menus.wdb").c_str()));
    }
    void TearDown() override {
        ToolkitTest::TearDown();
        wynwi_set_resources(nullptr);
        std::filesystem::remove_all(dir_);
    }

    WYN_RES_MODULE module_{};
    std::string dir_;
};

} // namespace

TEST_F(ResourceMenuTest, TheTaskWindowComesUpWithEveryMenuOfItsMenuBarResource) {
    startApp();
    WINDOW task = core().task;
    ASSERT_TRUE(wynk_win_has_menu(task));
    auto* frame = dynamic_cast<WynTaskWindow*>(widget_of(task));
    auto* bar = dynamic_cast<QMenuBar*>(frame->menuWidget());
    ASSERT_NE(bar, nullptr);
    QStringList titles;
    for (QAction* a : bar->actions()) titles << a->text();
    EXPECT_EQ(titles, QStringList({"&File", "&Configure", "&Schedule", "&View", "&Help"}));
    QAction* about = find(bar->actions(), MENU_TAG_ABOUT_ALT);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->text(), "&About...");
    EXPECT_EQ(frame->surface()->size(), QSize(648, 480)) << "the bar is outside the client area";
    EXPECT_TRUE(reported_ids().empty());
}

TEST_F(ResourceMenuTest, TheAboutItemShowsTheAboutBoxWhoseHelpButtonAsksForItsTopic) {
    // Another test may have replaced the about box's display.
    dm_set_about_box(dialogs_show_about_box);
    startApp();
    WINDOW task = core().task;
    auto* frame = dynamic_cast<WynTaskWindow*>(widget_of(task));
    QAction* about = find(frame->menuWidget()->actions(), MENU_TAG_ABOUT_ALT);
    ASSERT_NE(about, nullptr);
    // The box is looked for until it is up, then its Help button is pressed.
    QString shown;
    QTimer presser;
    QObject::connect(&presser, &QTimer::timeout, [&] {
        for (QWidget* box : QApplication::topLevelWidgets()) {
            if (!box->isVisible() || box->windowTitle() != "About VoltSentry Plus") continue;
            for (QPushButton* button : box->findChildren<QPushButton*>()) {
                if (button->text() != "&Help") continue;
                shown = box->windowTitle();
                presser.stop();
                button->click();
                return;
            }
        }
    });
    presser.start(5);
    about->trigger();
    EXPECT_EQ(shown, "About VoltSentry Plus");
    const auto help = events_of(task, E_HELP);
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0].v.help.tid, MENU_TAG_HELP_ABOUT_TOPIC);
    EXPECT_TRUE(events_of(task, E_COMMAND).empty());
}
