// Internal side of scroll bars: the scroll actions of Qt's bars in the toolkit's terms, and the
// wiring of scroll-bar controls.
#pragma once

#include <cstdint>

class QScrollBar;
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
