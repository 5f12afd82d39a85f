// The help tests' fixture: a started toolkit whose help viewer is a recorder, a scratch
// directory for help and association files, and the environment and current directory put back
// after each test.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>
#include <wyn/help.h>

#include "help_info.h"
#include "toolkit/base/app_support.h"

// One command the library gave the help viewer.
struct ViewerCall {
    void* owner;
    std::string path;
    uint32_t command;
    uintptr_t data;
    std::string keyword; // the data as text, for a keyword search
};

class HelpTest : public ToolkitTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Writes text to name in the scratch directory (or to an absolute path); returns the path.
    std::string write(const std::string& name, const std::string& text = "help\n");
    // Makes directory name in the scratch directory; returns its path.
    std::string subdir(const std::string& name);
    // Sets (or with nullopt unsets) an environment variable until the test ends.
    void set_env(const char* name, std::optional<std::string> value);
    // The FILE_SPEC naming file name in directory dir (empty: none).
    static FILE_SPEC file_spec(const std::string& dir, const std::string& name);
    // Opens the help file of (dir, name) with flags, closed again when the test ends.
    HELP_INFO open(const std::string& dir, const std::string& name, uint32_t flags = 0);

    // The commands the viewer received, in order.
    std::vector<ViewerCall>& calls();
    // The topics it was asked to show, contents and help on help as their topic numbers.
    std::vector<int32_t> shown();

    std::string scratch_;

  private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_env_;
    std::string saved_cwd_;
    std::vector<HELP_INFO> opened_;
};

// A help test with norva.hlp in the scratch directory and a started application whose child
// window holds a push button (id 5) and an edit (id 6).
class HelpWindowTest : public HelpTest {
  protected:
    void SetUp() override;

    WINDOW win_ = nullptr;
    WINDOW button_ = nullptr;
    WINDOW edit_ = nullptr;
    RCT button_rct_{20, 20, 50, 120};
    RCT edit_rct_{80, 20, 110, 220};
};
