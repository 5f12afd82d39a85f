/* The toolkit interface of the program: every call it makes into the toolkit goes through these
   checked wyn_ functions. */
#pragma once

#include <wyn/checked/app.h>
#include <wyn/checked/clipboard.h>
#include <wyn/checked/ctl.h>
#include <wyn/checked/cxo.h>
#include <wyn/checked/dlg.h>
#include <wyn/checked/dm.h>
#include <wyn/checked/dwin.h>
#include <wyn/checked/errmsg.h>
#include <wyn/checked/font.h>
#include <wyn/checked/help.h>
#include <wyn/checked/list.h>
#include <wyn/checked/menu.h>
#include <wyn/checked/palette.h>
#include <wyn/checked/pict.h>
#include <wyn/checked/print.h>
#include <wyn/checked/sbar.h>
#include <wyn/checked/text.h>
#include <wyn/checked/util.h>
#include <wyn/checked/win.h>
