// Internal side of the object operations: lists of windows as the toolkit hands them out.
#pragma once

#include <vector>
#include <wyn/slist.h>
#include <wyn/win.h>

// A new list of the titles of wins in order, each with its object as data word; null when out
// of memory.
SLIST vobj_list_of(const std::vector<WINDOW>& wins);
