// Accelerator tables as shortcuts on a window's frame, each delivering a menu command.
#pragma once

#include <QKeySequence>
#include <wyn/res.h>

class QWidget;

// The key combination of an accelerator entry; empty when the key has no native equivalent.
QKeySequence accelerators_key_sequence(const WYN_RES_ACCEL& entry);

// Installs accelerator table id on frame, the native window of win; the number of keys installed
// (0 when the table is absent).
int accelerators_install(WINDOW win, QWidget* frame, int32_t id);
