// The program's side of on-line help: the help file opened only when help is first wanted, the
// topics windows register before that moment, and the application's help hook.
#pragma once

#include <cstdint>
#include <vector>
#include <wyn/attr.h>
#include <wyn/checked/help.h>

// The topics of the program's windows and dialogs in its help file.
enum help_topic : int32_t {
    HELP_TOPIC_CONFIGURATION = 95,
    HELP_TOPIC_REMOTE_SELECTOR = 99,
    HELP_TOPIC_SELFTEST_SCHEDULE = 104,
    HELP_TOPIC_THRESHOLDS = 107,
    HELP_TOPIC_ALARM_LOGGING = 108,
    HELP_TOPIC_CONTINUOUS_LOG = 111,
    HELP_TOPIC_ALERT_LOG = 112,
    HELP_TOPIC_PHONE_OPTION = 115,
    HELP_TOPIC_SHUTDOWN_SCHEDULE = 117
};

// What a registration binds: the window or dialog itself, one of its controls by id, or an item
// of its menu by tag.
enum help_assoc_kind : int16_t {
    HELP_ASSOC_WINDOW = 1,
    HELP_ASSOC_CONTROL = 2,
    HELP_ASSOC_MENU = 3
};

// A registration waiting for the help file; a null object marks an empty slot.
struct help_pending_entry {
    WINDOW object = nullptr;
    int32_t id = 0; // control id or menu tag; 0 for the window itself
    int32_t topic = 0;
    int16_t kind = 0;
    // The window's or dialog's resource (for a menu item: its menu bar's), whose bindings in the
    // association file are applied with it; 0 for none.
    int32_t res_id = 0;
};

// The help client's state. The program has one (help_client_of_program); it starts with
// install_hook at the task window's creation and ends with close at its destruction, which must
// come while the toolkit runs: the object's own end never calls the toolkit.
class help_client {
  public:
    // Slots the pending array grows by when it is full.
    static constexpr int32_t kGrowth = 50;

    help_client() = default;
    help_client(const help_client&) = delete;
    help_client& operator=(const help_client&) = delete;

    // The open help file, or null.
    HELP_INFO info() const { return help_; }

    // Opens the help file "norva" of the default directory unless one is open; when the library
    // finds none, asks for one with the file-open dialog until the user cancels or names a file
    // that opens. Pending registrations are applied once it is open. Asking again while the
    // dialog is up (help on the dialog itself) does nothing.
    void ensure_open();

    // What help_event_hook does: TRUE passes ev on to win, FALSE means help consumed it.
    BOOLEAN on_event(void* hook_value, WINDOW win, EVENT* ev);

    // Makes help_event_hook the application's event hook; a hook set before (a test run's
    // watcher) keeps seeing every event, ahead of help.
    void install_hook();

    // Drops the pending registrations, closes the help file, and gives the event hook back to
    // whatever held it before install_hook.
    void close();

    // Registers topic for object (kind 1), its control id (kind 2) or its menu item tag id
    // (kind 3): at once while the help file is open, else in the pending array's next free slot
    // (growing it by kGrowth slots when full). res_id, for a window or dialog, also binds what
    // the association file gives it and its controls once the file is open; with res_id, topic 0
    // leaves the window's own topic to the file. For a menu item, res_id names the menu bar whose
    // items the association file binds.
    void add_assoc(WINDOW object, int32_t id, int32_t topic, int16_t kind, int32_t res_id = 0);

    // While no help file is open, empties the pending slots of win so that a destroyed window
    // leaves nothing behind; with the file open the library forgets win by itself.
    void forget_window(WINDOW win);

    // The pending array (its size is the capacity) and the next free slot (-1: full).
    const std::vector<help_pending_entry>& pending() const { return pending_; }
    int32_t next_free_slot() const { return next_free_; }

  private:
    // Applies one registration to the open help file.
    void apply(const help_pending_entry& entry);
    // Binds the items of win's menu bar menu_id that the association file names.
    void bind_menu_bar(WINDOW win, int32_t menu_id);
    // Lets the user pick a help file: 2 chosen (its name put in the file's place), 1 cancelled,
    // 0 no dialog.
    static int16_t ask_for_file(FILE_SPEC& help_file);
    void release_pending();

    HELP_INFO help_ = nullptr;
    std::vector<help_pending_entry> pending_;
    int32_t next_free_ = -1;
    bool asking_ = false;
    bool hooked_ = false;
    WYN_EVENT_HOOK previous_hook_ = nullptr;
};

// The program's help client.
help_client& help_client_of_program();

// The open help file after help_ensure_open, null when the user gave up.
HELP_INFO help_get_info();

// help_client::ensure_open of the program's client.
void help_ensure_open();

// The application's help hook (attribute 710): 1 passes ev on to win, 0 means help consumed it.
// Without a help file only help requests and Help-menu commands (tags 32450 to 32462) open it;
// every other event, and those when no file could be opened, go on untouched.
BOOLEAN help_event_hook(void* hook_value, WINDOW win, EVENT* ev);

// Installs help_event_hook (help_client::install_hook of the program's client).
void help_install_hook();

// help_client::close of the program's client.
void help_close();

// help_client::add_assoc of the program's client.
void help_add_assoc(WINDOW object, int32_t id, int32_t topic, int16_t kind, int32_t res_id = 0);

// help_client::forget_window of the program's client.
void help_forget_window(WINDOW win);

// For a window's or dialog's handler, first thing: at its E_CREATE registers topic (0: the
// association file's) for it and its resource res_id, and at its E_DESTROY forgets it.
void help_follow_window(WINDOW win, const EVENT& ev, int32_t topic, int32_t res_id);
