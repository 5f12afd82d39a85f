// Native fonts: the translation of a completed "NT_01" descriptor into a QFont with its metrics,
// the mapping of font objects for a device, and the face substitutions that make the built-in
// faces exist on a plain Linux machine.
#pragma once

#include <QFont>
#include <QString>
#include <memory>
#include <wyn/font.h>

#include "portable/font_desc.h"

struct NativeFont {
    QFont font;
    int ascent = 0;
    int descent = 0;
    int leading = 0;
    int internal_leading = 0; // the part of the cell above the character height
    QString family;           // the face actually selected
    bool fixed_pitch = false;
    bool scalable = false;
    int escapement = 0; // tenths of a degree, counter-clockwise
};

// The resolution in dots per inch of win's device (the display for null or screen windows).
int fonts_device_dpi(WINDOW win);

// Maps font for a device of dpi (again when it was mapped for another resolution) and returns
// its native font; null (0x152000A reported) when none can be made.
std::shared_ptr<const NativeFont> fonts_map(FONT font, int dpi);

// The QFont for a completed descriptor; fixed demands a monospaced face whatever is installed.
QFont fonts_qfont_for(const FontLogical& logical, bool fixed);
