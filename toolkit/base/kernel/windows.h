// Internal side of window objects: the objects the application core makes itself, and their
// destruction.
#pragma once

#include <wyn/win.h>

class QWidget;

// Allocates a window object (zero-filled, magic set) and records it as live.
WINDOW windows_new_object(uint32_t kind, int32_t type, WINDOW parent, uint32_t flags,
                          EVENT_MASK mask, EVENT_HANDLER handler, intptr_t app_data);

// The kind of a new window of type under parent; 0 when it cannot be made.
uint32_t windows_kind_for(int32_t type, WINDOW parent);

// Creates the task window with its native frame; null on failure.
WINDOW windows_create_task(const RCT* rct, const char* title, int16_t menu_id, WINDOW screen,
                           uint32_t flags, EVENT_MASK mask, EVENT_HANDLER handler,
                           intptr_t app_data);

// Destroys win and everything inside it, children first, each receiving E_DESTROY.
void windows_destroy_tree(WINDOW win);

// Destroys every object without sending events and frees them (the toolkit is ending).
void windows_discard_all();

// Shows widget as a window's creation flags ask: maximised (0x1000), minimised (0x100) or
// normally.
void windows_show_by_flags(QWidget* widget, uint32_t flags);
