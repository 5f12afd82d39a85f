// Internal side of scroll bars: the scroll actions of Qt's bars in the toolkit's terms, and the
// wiring of scroll-bar controls.
#pragma once

#include <QSize>
#include <cstdint>
#include <wyn/types.h>

class QScrollBar;
class QWidget;
class CtlRecord;

// What one action of a bar is reported as; send is false for actions that give no event.
struct ScrollReport {
    bool send;
    int32_t what; // SC_*
    int16_t pos;
};

// The report of Qt slider action qt_action on a bar whose range record is min..max, the thumb
// being at slider_pos.
ScrollReport sbar_map_action(int qt_action, int slider_pos, int32_t min, int32_t max);

// Makes bar report its actions as E_CONTROL events of the control rec describes.
void sbar_wire_control(QScrollBar* bar, CtlRecord* rec);

// Gives a window the bars its creation flags ask for (horizontal 4, vertical 8), docked along
// its surface's bottom and right edges.
void sbar_equip_window(WINDOW win);

// The room a window's own bars take from its surface: width of the vertical bar, height of the
// horizontal one (0 where there is none).
QSize sbar_room(const QWidget* surface);

// The room the bars of a window with creation flags would take.
QSize sbar_room_for_flags(uint32_t flags, const QWidget* surface);
