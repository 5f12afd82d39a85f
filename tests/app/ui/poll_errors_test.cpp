// Toolkit errors inside a poll: written to the event log and standard error at once, shown as
// dialogs only once the poll is over, so no dialog holds the polls up.
#include "toolkit/base/err_support.h"

#include "engine/report.h"
#include "ui/poll_errors.h"

#include <string>
#include <wyn/checked/app.h>

namespace {

// The event log is written to the fixture's directory, the current one.
class poll_errors : public ErrTest {
  protected:
    void SetUp() override {
        ErrTest::SetUp();
        install_poll_error_handler();
    }
};

TEST_F(poll_errors, AnErrorInsideAPollIsLoggedAtOnceAndShownOnlyAfterIt) {
    testing::internal::CaptureStderr();
    {
        poll_error_scope poll;
        EXPECT_EQ(wyn_timer_create(nullptr, 10), -1);
        EXPECT_TRUE(observed.dialogs.empty()) << "no dialog while the poll runs";
        show_poll_errors();
        EXPECT_TRUE(observed.dialogs.empty()) << "not even when asked from inside the poll";
    }
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("wyn_timer_create"), std::string::npos) << err;
    EXPECT_NE(read_file("norva.log").find("wyn_timer_create"), std::string::npos);
    show_poll_errors();
    ASSERT_EQ(observed.dialogs.size(), 1u);
    EXPECT_NE(observed.dialogs[0].text.find("wyn_timer_create"), std::string::npos);
    show_poll_errors();
    EXPECT_EQ(observed.dialogs.size(), 1u) << "each error is shown once";

    // Outside a poll the toolkit reports as it always does.
    EXPECT_EQ(wyn_timer_create(nullptr, 10), -1);
    EXPECT_EQ(observed.dialogs.size(), 2u);
}

} // namespace
