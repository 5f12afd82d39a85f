// The history graph window's data, drawing, paging and printing.
#include "ui/history_graph.h"

bool open_history_graph() {
    return false;
}
