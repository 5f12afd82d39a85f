// A test fixture that begins and ends the toolkit around each test, and helpers that record the
// events its windows receive and the errors it reports, and pump the event loop.
#pragma once

#include <gtest/gtest.h>
#include <vector>
#include <wyn/app.h>
#include <wyn/attr.h>
#include <wyn/errmsg.h>
#include <wyn/res.h>
#include <wyn/win.h>

// One event as a handler received it.
struct SeenEvent {
    WINDOW win;
    EVENT ev;
};

// An event handler that records every event and returns 0.
int32_t record_event(WINDOW win, EVENT* ev);
// The events recorded since the test began.
std::vector<SeenEvent>& seen_events();
// The types win has received, in order.
std::vector<int32_t> types_for(WINDOW win);
// Message ids reported through the error framework since the test began.
std::vector<WYN_MSG_ID>& reported_ids();
// Runs loop passes until the queue has settled.
void pump();
// Gives a test's resources what every program carries and the module lacks: the resource name
// string, accelerator table 9001 and an empty resource database.
void give_startup_resources(WYN_RES_MODULE& module);

class ToolkitTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the screen and task windows as wynwi_wyn_system does, without running the loop.
    void startApp(EVENT_HANDLER task_handler = record_event);
    // A plain child window of the task window.
    WINDOW makeChild(const RCT& rct, EVENT_HANDLER handler = record_event, uint32_t flags = 0);

    WYN_STARTUP startup_{};
    // Without resources of its own a test runs with the bare start-up resources and no menu bar.
    WYN_APP_CONFIG config_{1000, 129, "norva", "VoltSentry Plus", "Norvane VoltSentry Plus"};
    RCT task_rect_{20, 0, 500, 648};

  private:
    bool bare_resources_ = false;
};
