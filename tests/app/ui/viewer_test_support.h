// The viewer windows' tests: a status window test run inside a scratch directory, as the program
// runs in its own, that closes the viewer it names after each test.
#pragma once

#include "app/ui/status_support.h"
#include "tools/process_support.h"

#include <unistd.h>
#include <wyn/checked/win.h>

class viewer_window_test : public status_window_test {
  protected:
    // viewer gives the open viewer's window, null while there is none.
    explicit viewer_window_test(WINDOW (*viewer)()) : viewer_(viewer) {}

    void SetUp() override {
        status_window_test::SetUp();
        ASSERT_NE(getcwd(cwd_, sizeof cwd_), nullptr);
        ASSERT_EQ(chdir(dir_.path().c_str()), 0);
    }
    void TearDown() override {
        if (WINDOW win = viewer_()) wyn_vobj_destroy(win);
        pump();
        EXPECT_EQ(chdir(cwd_), 0);
        status_window_test::TearDown();
    }

    temp_dir dir_;

  private:
    WINDOW (*viewer_)();
    char cwd_[4096] = {};
};
