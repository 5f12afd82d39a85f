// Internal side of the multiple-document mode: the task window as a frame around a document
// area, its document windows, and the window menu.
#pragma once

#include <QRect>
#include <wyn/win.h>

class QMenuBar;
class QWidget;

// The window menu's own commands (menu "WYN_WINDOWMENU").
enum : int16_t {
    kMdiCascade = 32701,
    kMdiTile = 32702,
    kMdiArrange = 32703,
    kMdiCloseAll = 32704,
};

// Gives an MDI task window (kind 0x10001) its document area over the whole client area.
void mdi_equip_frame(WINDOW task);

// Adds the window menu to the menu bar of an MDI task window; other windows are left alone.
void mdi_attach_window_menu(WINDOW task, QMenuBar* bar);

// Makes the native window of document win (kind 0x20008) inside its task window's document area;
// the widget that holds the document's surface, or null when there is no document area.
QWidget* mdi_make_document(WINDOW win);

// The frame of document win inside the document area, or null when win is no such document.
QWidget* mdi_frame(WINDOW win);

// True when win is a document of the document area; false leaves placing, showing and closing
// to the caller.
bool mdi_place(WINDOW win, const QRect& client, bool default_pos, bool default_size);
bool mdi_show(WINDOW win);
// Takes the document's frame out of the document area and deletes it later.
bool mdi_close(WINDOW win);

// Carries out a window-menu command of task; false when tag is not one.
bool mdi_command(WINDOW task, int16_t tag);
