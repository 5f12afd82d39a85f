// The standard dialogs' internal controls: a seam that answers dialogs without showing them, and
// the about box's display, which the dialog builder provides.
#pragma once

#include <cstddef>
#include <cstdint>

// The standard dialogs.
enum class dm_kind {
    error,
    warning,
    note,
    message,
    ask,
    string_prompt,
    file_open,
    file_save,
    fatal
};

// What a dialog would show.
struct dm_request {
    dm_kind kind;
    const char* text;    // the message, question or prompt
    const char* caption; // window title
    const char*
        titles[3]; // ask: default, alternate, other button (toolkit "~" mnemonics; null hidden)
    const char* initial;   // string prompt: initial text; file dialogs: initial file name
    const char* directory; // file dialogs: initial directory
    const char* filter;    // file dialogs: "description (pattern)" entries separated by ";;"
    long help_topic;       // the current help topic while the dialog is up
};

// Answers a dialog instead of showing it. Returns -1 when the dialog "cannot be created"; else
// ask: 0, 1 or 2; string prompt and file dialogs: 1 with the text or chosen path in answer
// (answer_size bytes), 0 for cancel; message dialogs: any other value.
using dm_responder = int (*)(const dm_request& request, char* answer, size_t answer_size);

// Installs a responder (null shows the dialogs again); returns the previous one.
dm_responder dm_set_responder(dm_responder responder);

// Installs the display of the dialogs the program carries as dialog resources; it answers as a
// responder does, -1 sending the dialog to the window system's own. Returns the previous one.
dm_responder dm_set_resource_dialogs(dm_responder show);

// Shows the application's about box; returns the control that ended it, or -1 when it cannot be
// shown. When it ends with control 1 the function also sends the about box's help request.
using dm_about_box_fn = int (*)();

// Installs the about box's display (null: none, so the about box reports that it can't be shown);
// returns the previous one.
dm_about_box_fn dm_set_about_box(dm_about_box_fn show);

// Makes topic the current help topic for the life of a dialog, so that F1 there reaches the task
// window with it.
class help_topic_scope {
  public:
    explicit help_topic_scope(int32_t topic);
    ~help_topic_scope();
    help_topic_scope(const help_topic_scope&) = delete;
    help_topic_scope& operator=(const help_topic_scope&) = delete;

  private:
    int32_t previous_;
};
