// The application core's per-process state: start-up data, attribute cells, the window objects,
// dispatch counters, handler-chain bookkeeping and the quitting flags.
#pragma once

#include <deque>
#include <string>
#include <vector>
#include <wyn/app.h>
#include <wyn/attr.h>
#include <wyn/win.h>

// Application stages, in the order they are passed.
enum class AppStage { not_begun, begun, initialised, running, quitting };

struct CoreState {
    AppStage stage = AppStage::not_begun;
    WYN_STARTUP* startup = nullptr; // the program's record, valid for the whole run
    int platform = 0;               // 2: the NT family, which Linux counts as
    WYN_TX_CREATE_DEF tx_create_def = nullptr;
    WYN_TX_GET_TX tx_get_tx = nullptr;

    ATTR_VALUE* attr_cells = nullptr; // WYN_ATTR_COUNT cells while initialised

    WINDOW screen = nullptr;
    WINDOW task = nullptr;
    std::vector<WINDOW> windows;   // live objects in creation order
    std::vector<WINDOW> graveyard; // destroyed objects, released once no dispatch can touch them
    // Released objects, magic cleared, kept a while so that a stale handle reads as invalid
    // instead of reaching freed memory.
    std::deque<WINDOW> quarantine;

    int dispatch_depth = 0;
    int update_count = 0; // E_UPDATE dispatches in progress
    int32_t help_topic = 0;

    std::vector<CXO> cxo_free;            // destroyed CXOs awaiting their last call to return
    std::vector<std::string> cxo_classes; // registered class names; a CXO holds an index

    bool quit_allowed = false;
    bool task_destroying = false;
    bool quit_seen = false; // the loop has taken the quit message

    std::vector<std::string> files; // file names on the command line
    size_t files_done = 0;
};

// The calling process's state block (created on first use).
CoreState& core();

// The attribute value of id, or 0 when the store is not set up; never reports.
ATTR_VALUE core_attr(ATTR_ID id);

// Stores value as attribute id without the write rules (for the library's own settings).
void core_set_attr(ATTR_ID id, ATTR_VALUE value);

// Allocates the attribute cells with their initial values; frees them.
bool core_attr_init();
void core_attr_free();

// True for a live window object (magic set, not yet destroyed).
bool core_win_alive(WINDOW win);

// Releases the window objects and frees the destroyed CXOs that nothing can touch any more;
// called when no dispatch is in progress.
void core_reap();

// Frees every released window object (the toolkit is ending).
void core_free_quarantine();

// Counts as a dispatch in progress for its lifetime (objects destroyed meanwhile stay readable);
// the outermost one frees what was destroyed.
class CoreBusyScope {
  public:
    CoreBusyScope() { ++core().dispatch_depth; }
    ~CoreBusyScope() {
        if (--core().dispatch_depth == 0) core_reap();
    }
    CoreBusyScope(const CoreBusyScope&) = delete;
    CoreBusyScope& operator=(const CoreBusyScope&) = delete;
};
