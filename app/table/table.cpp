// The table control's model, drawing, selection, scrolling and copying.
#include "table/table.h"
