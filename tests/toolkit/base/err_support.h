// A fixture for the error framework's tests: a fresh error state in a temporary start-up
// directory, dialogs answered without being shown, and the process exit caught.
#pragma once

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "kernel/std_dialogs.h"

// One dialog that would have been shown.
struct shown_dialog {
    dm_kind kind;
    std::string text;
    std::string caption;
    std::vector<std::string> titles; // "-" for a hidden button
    long help_topic;
};

// What the fixture observed during one test, and how its dialogs answer.
struct err_observed {
    std::vector<shown_dialog> dialogs;
    int exits = 0;
    int exit_status = 0;
    int beeps = 0;
    int toolkit_ends = 0;
    int answer = 0;          // what the responder returns
    std::string answer_text; // the text or path it answers with
};

extern err_observed observed;

class ErrTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Writes content to name in the start-up directory.
    void write_file(const std::string& name, const std::string& content);
    // Contents of name in the start-up directory ("<missing>" when absent).
    std::string read_file(const std::string& name);

    std::string dir_;

  private:
    std::string old_cwd_;
};

// Makes sure a widget application exists for the tests that show real dialogs.
void ensure_qt_application();
