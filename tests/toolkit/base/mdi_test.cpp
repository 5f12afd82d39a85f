// The multiple-document mode: the task window as a frame around its document area, documents
// that live in it and leave through it, and the window menu with its commands and document list.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

#include "kernel/mdi.h"
#include "kernel/widgets.h"
#include "portable/core_state.h"
#include "toolkit/base/app_support.h"
#include <wyn/ctl.h>
#include <wyn/menu.h>
#include <wyn/res.h>

namespace {

constexpr uint16_t kOn = MENU_FLAG_ENABLED;

// The window menu as the toolkit's resource script declares it.
const WYN_RES_MENU_ITEM kWindowItems[] = {{0, 32000, kOn | MENU_FLAG_POPUP, "&Window"},
                                          {1, kMdiCascade, kOn, "&Cascade"},
                                          {1, kMdiTile, kOn, "&Tile"},
                                          {1, kMdiArrange, kOn, "Arrange &Icons"},
                                          {1, kMdiCloseAll, kOn, "Close &All"}};
const WYN_RES_MENU kMenus[] = {{"WYN_WINDOWMENU", 0, 5, kWindowItems}};

char* t(const char* s) {
    return const_cast<char*>(s);
}

MENU_ITEM file_items[] = {{101, t("~Open"), 0, kOn, nullptr, 0}, {}};
MENU_ITEM bar_items[] = {
    {1, t("~File"), 0, kOn, file_items, 0}, {2, t("~Help"), 0, kOn, nullptr, 0}, {}};

class MdiTest : public ToolkitTest {
  protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        wynv_vobj_set_attr(nullptr, ATTR_MDI, 1);
        startApp();
        task_ = core().task;
        // The window menu joins the bar the tree below builds.
        module_.menus = kMenus;
        module_.menu_count = 1;
        wynwi_set_resources(&module_);
        wynk_menu_set_tree(task_, bar_items);
        area_ = widget_of(task_)->findChild<QMdiArea*>();
    }
    void TearDown() override {
        ToolkitTest::TearDown();
        wynwi_set_resources(nullptr);
    }

    WINDOW makeDoc(const char* title) {
        RCT rct{10, 20, 110, 170};
        return wynk_win_create(WT_DOC, &rct, title, 0, task_, 0, EM_ALL, record_event, 0);
    }
    QMenu* windowMenu() const {
        auto* frame = dynamic_cast<WynTaskWindow*>(widget_of(task_));
        for (QAction* a : frame->menuWidget()->actions())
            if (a->menu() && a->text() == "&Window") return a->menu();
        return nullptr;
    }

    WYN_RES_MODULE module_{};
    WINDOW task_ = nullptr;
    QMdiArea* area_ = nullptr;
};

} // namespace

TEST_F(MdiTest, DocumentsLiveInTheTaskWindowsDocumentAreaAndLeaveThroughIt) {
    EXPECT_EQ(task_->kind, WK_MDI_TASK);
    ASSERT_NE(area_, nullptr);
    WINDOW doc = makeDoc("Log");
    ASSERT_NE(doc, nullptr);
    pump();
    EXPECT_EQ(doc->kind, WK_MDI_DOC);
    ASSERT_EQ(area_->subWindowList().size(), 1);
    QMdiSubWindow* frame = area_->subWindowList().front();
    EXPECT_EQ(frame->widget(), widget_of(doc));
    EXPECT_EQ(frame->windowTitle(), "Log");
    EXPECT_EQ(widget_of(doc)->size(), QSize(150, 100)) << "the rectangle is the client area";
    EXPECT_EQ(types_for(doc).front(), E_CREATE);

    wynk_win_set_doc_title(doc, "Log 2");
    EXPECT_EQ(frame->windowTitle(), "Log 2");
    // Moving places the frame so that the document's client area is the rectangle.
    RCT moved{30, 40, 90, 240};
    wynk_vobj_move(doc, &moved);
    EXPECT_EQ(widget_of(doc)->size(), QSize(200, 60));
    EXPECT_EQ(frame->pos(), QPoint(40, 30));
    wynk_vobj_set_visible(doc, FALSE);
    EXPECT_FALSE(frame->isVisible()) << "the frame goes with its document";
    wynk_vobj_set_visible(doc, TRUE);

    // Closing the frame asks the document; only destroying it takes it away.
    frame->close();
    EXPECT_EQ(types_for(doc).back(), E_CLOSE);
    EXPECT_EQ(area_->subWindowList().size(), 1);
    wynk_vobj_destroy(doc);
    EXPECT_EQ(types_for(doc).back(), E_DESTROY);
    EXPECT_TRUE(area_->subWindowList().isEmpty());
    pump();
}

TEST_F(MdiTest, TheWindowMenuArrangesAndListsTheDocuments) {
    QMenu* menu = windowMenu();
    ASSERT_NE(menu, nullptr);
    auto* frame = dynamic_cast<WynTaskWindow*>(widget_of(task_));
    const QList<QAction*> top = frame->menuWidget()->actions();
    ASSERT_EQ(top.size(), 3);
    EXPECT_EQ(top[1]->menu(), menu) << "the window menu stands before the help menu";

    WINDOW first = makeDoc("One");
    WINDOW second = makeDoc("Two & Three");
    pump();
    emit menu->aboutToShow();
    QStringList titles;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) titles << a->text();
    EXPECT_EQ(titles, QStringList({"&Cascade", "&Tile", "Arrange &Icons", "Close &All", "&1 One",
                                   "&2 Two && Three"}));
    menu->actions().back()->trigger();
    EXPECT_EQ(area_->activeSubWindow()->widget(), widget_of(second));

    menu->actions().at(1)->trigger();
    const QRect a = area_->subWindowList()[0]->geometry(),
                b = area_->subWindowList()[1]->geometry();
    EXPECT_FALSE(a.intersects(b)) << "tiled documents do not overlap";

    // Minimised documents dragged anywhere line up along the bottom edge again.
    for (QMdiSubWindow* doc : area_->subWindowList()) {
        doc->showMinimized();
        doc->move(40, 40);
    }
    menu->actions().at(2)->trigger();
    const QRect one = area_->subWindowList()[0]->geometry(),
                two = area_->subWindowList()[1]->geometry();
    const int bottom = area_->viewport()->rect().bottom();
    EXPECT_EQ(one.bottom(), bottom);
    EXPECT_EQ(two.bottom(), bottom);
    EXPECT_EQ(one.left(), 0);
    EXPECT_EQ(two.left(), one.right() + 1);
    menu->actions().at(3)->trigger();
    EXPECT_EQ(types_for(first).back(), E_CLOSE);
    EXPECT_EQ(types_for(second).back(), E_CLOSE);
    for (const SeenEvent& s : seen_events()) EXPECT_NE(s.ev.type, E_COMMAND);
}
