// What an opened help file holds (its path, flags, associations and association-file table), the
// library's process-wide state, and the helpers its parts share.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <wyn/help.h>

#include "help_assoc_file.h"

namespace wynhelp {

// Association buckets, chained by object handle or menu tag.
inline constexpr int kBucketCount = 513;

// Mode flag: object-click mode is on.
inline constexpr uint32_t kModeObjClick = 0x1;

// Source names of the library's reports.
inline constexpr char kUnitAssoc[] = "hassoc";
inline constexpr char kUnitServices[] = "hservs";

// Error ids of the library besides the file reader's.
inline constexpr WYN_MSG_ID kMsgNull = 0x210000;
inline constexpr WYN_MSG_ID kMsgInvalidInfo = 0x500000;
inline constexpr WYN_MSG_ID kMsgNoClass = 0x597170;
inline constexpr WYN_MSG_ID kMsgWinAssoc = 0x507173;
inline constexpr WYN_MSG_ID kMsgMenuAssoc = 0x507174;

// One association: an object (window, dialog or control) or a menu item of a window (null: of
// every window) bound to a topic. Kept in its bucket's chain and in the list in order of making.
struct Assoc {
    WINDOW window = nullptr; // a menu item's window, a control's parent window, else null
    WINDOW object = nullptr;
    int32_t tag = 0;
    int32_t topic = 0;
    uint32_t kind = 0; // HELP_KIND_*
    Assoc* chain = nullptr;
    Assoc* prev = nullptr;
    Assoc* next = nullptr;
};

// Every association of a help file in order of making; owns them.
class AssocList {
  public:
    AssocList() = default;
    AssocList(const AssocList&) = delete;
    AssocList& operator=(const AssocList&) = delete;
    ~AssocList();

    Assoc* first() const { return head_; }
    void append(Assoc* a);
    // Unlinks a; the caller frees it.
    void unlink(Assoc* a);

  private:
    Assoc* head_ = nullptr;
    Assoc* tail_ = nullptr;
};

// Object classes by window type: 1 window, 2 dialog, 3 control (the file kinds of the same
// numbers), 0 none.
int32_t object_class_of_type(int32_t type);
int32_t object_class(WINDOW win);

// Reports id with severity sev under unit, naming the source line.
void report(WYN_MSG_ID id, int16_t sev, const char* unit, int line, void* target = nullptr);

// Posts the fatal exit of an allocation of size bytes that failed at unit's line.
void out_of_memory(size_t size, const char* unit, int line);

// Offers ev of win to the help file held in data; the library's own event hook.
BOOLEAN help_hook(void* data, WINDOW win, EVENT* ev);

// Removes every association of help (on close).
void clear_assocs(HELP_INFO help);

// The window association of win or of its nearest ancestor that has one, else 0.
int32_t ancestor_assoc(HELP_INFO help, WINDOW win);

// The help viewer's entry as the library calls it; tests put a recorder in its place.
using HelpEngine = int32_t (*)(void* owner, const char* help_path, uint32_t command,
                               uintptr_t data);
HelpEngine& help_engine();

} // namespace wynhelp

// An opened help file; valid while self holds its own address and the library knows it.
struct wyn_help_info {
    wyn_help_info* self = nullptr;
    wyn_help_info* owner = nullptr;
    std::string path;
    uint32_t open_flags = 0;
    uint32_t mode_flags = 0;
    int32_t saved_cursor = 0;
    std::unique_ptr<wynhelp::Assoc*[]> buckets; // made on first use
    wynhelp::AssocList list;
    PNT last_pointer{0, 0}; // screen coordinates
    WINDOW objclick_win = nullptr;
    wynhelp::FileTable file_table;
};
