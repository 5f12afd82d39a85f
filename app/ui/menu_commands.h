// The task window's menu commands.
#pragma once

#include <cstdint>
#include <wyn/types.h>

// Carries out menu command tag chosen in the task window; unknown tags do nothing.
void dispatch_menu_command(WINDOW task, int16_t tag);
