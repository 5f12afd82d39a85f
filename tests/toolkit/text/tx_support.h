// A started test toolkit with a parent window for text edits (raw or hosted), and helpers that
// type, click, read the text back and check the library's internal consistency.
#pragma once

#include <string>
#include <vector>
#include <wyn/testing.h>
#include <wyn/text.h>

#include "toolkit/base/app_support.h"
#include "tx_internal.h"

class tx_test : public ToolkitTest {
  public:
    // The change notifications the parent received: (id, focus_change, active).
    static std::vector<std::vector<int>>& notes();
    // The scroll call-back's calls: (vertical position, total lines, horizontal origin).
    static std::vector<std::vector<int32_t>>& scrolls();

  protected:
    explicit tx_test(bool raw = true) : raw_(raw) {}
    void SetUp() override;
    void TearDown() override;

    // A text edit of the parent at rct.
    TX make(uint16_t attr = TX_WRAP, RCT rct = RCT{10, 10, 110, 110}, int16_t margin = 0,
            uint16_t limit = 0);
    // The window the text edit's events go to.
    WINDOW target() const;
    // Types the characters of text (newline as Enter), then the virtual key code with shift.
    void type(const std::string& text);
    void key(uint16_t code, bool shift = false);
    void mouse(int16_t type, int16_t x, int16_t y, bool shift = false);
    void command(int16_t tag);
    // Every paragraph of tx joined by "|".
    std::string text() const;
    // The caret end of the selection as (par, line, char).
    std::vector<int> caret() const;
    // The x of a position as the library measures it.
    int x_of(uint16_t par, uint16_t line, uint16_t ch) const;
    // Puts text on the clipboard.
    static void clip(const std::string& text);
    // The parent window's pixels as 0xRRGGBB at (x, y).
    uint32_t px(int x, int y);
    // Fails the test when the library's structures disagree.
    void consistent() const;

    bool raw_;
    WINDOW parent_ = nullptr;
    TX tx_ = nullptr;
    wyn::testing::Image image_;
};
