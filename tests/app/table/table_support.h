// A started test toolkit with a parent window holding a table control, the notifications the
// parent receives and the dialogs the control shows.
#pragma once

#include <string>
#include <vector>
#include <wyn/testing.h>

#include "table/table.h"
#include "toolkit/base/app_support.h"

std::vector<std::string>& table_test_dialogs();

struct seen_notify {
    int16_t code;
    int32_t line;
    uint8_t state;
};

class table_test : public ToolkitTest {
  public:
    static std::vector<seen_notify>& notes();
    static std::vector<std::string>& dialogs();

  protected:
    void SetUp() override;
    void TearDown() override;

    // A table control (id 1) of 300 x 200 pixels in the parent, with both scroll bars unless
    // the properties say otherwise.
    WINDOW make_table(std::vector<const char*> props = {"Test Table", "POS=0,0", "SIZE=300,200"});
    // Delivers an event to the control as the toolkit would.
    void mouse(int16_t type, int16_t x, int16_t y, bool shift = false, bool control = false);
    void key(uint16_t code, bool control = false, bool shift = false);
    // The selected lines, ascending.
    std::vector<int32_t> selected();
    // The pixel at (x, y) of the control's image as 0xRRGGBB.
    uint32_t px(int x, int y);
    // How many pixels of the rectangle have colour rgb.
    int count(int left, int top, int right, int bottom, uint32_t rgb);

    WINDOW parent_ = nullptr;
    WINDOW table_ = nullptr;
    wyn::testing::Image image_;

  private:
    void* previous_responder_ = nullptr;
};
