// Another program on a real X display pastes the text copied here and copies text read here. The
// test runs itself again under a virtual X server with the X platform, where xclip stands for
// the other program; it is skipped where either is not installed.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <cstdlib>
#include <cstring>

#include "toolkit/base/app_support.h"
#include <wyn/clipboard.h>

namespace {

constexpr char kInnerRun[] = "WYN_CLIPBOARD_ON_DISPLAY";

// Serves the display while proc runs, so that the clipboard can answer the other program. The
// bound only keeps a broken run from hanging; it is not a measure of anything.
bool serve_until_finished(QProcess& proc) {
    for (int i = 0; i < 2000 && proc.state() != QProcess::NotRunning; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        proc.waitForFinished(5);
    }
    return proc.state() == QProcess::NotRunning && proc.exitCode() == 0;
}

} // namespace

using ClipboardDesktop = ToolkitTest;

TEST_F(ClipboardDesktop, AnotherProgramPastesWhatIsCopiedAndTheOtherWayRound) {
    if (!std::getenv(kInnerRun)) {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
        if (xvfb.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty())
            GTEST_SKIP() << "xvfb-run or xclip is not installed";
        QProcess inner;
        inner.setProcessChannelMode(QProcess::MergedChannels);
        inner.start(xvfb, {QStringLiteral("-a"), QStringLiteral("env"),
                           QStringLiteral("QT_QPA_PLATFORM=xcb"),
                           QString::fromLatin1(kInnerRun) + QStringLiteral("=1"),
                           QCoreApplication::applicationFilePath(),
                           QStringLiteral("--gtest_filter=ClipboardDesktop.*")});
        ASSERT_TRUE(inner.waitForFinished(60000));
        const QByteArray out = inner.readAll();
        EXPECT_EQ(inner.exitCode(), 0) << out.toStdString();
        EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.toStdString();
        return;
    }
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));

    const char text[] = "Line voltage 231 V\nBattery 100 %";
    ASSERT_TRUE(wynk_cb_open(TRUE));
    std::strcpy(static_cast<char*>(wynk_cb_alloc_data(sizeof text - 1)), text);
    ASSERT_TRUE(wynk_cb_put_data(CB_FORMAT_TEXT, nullptr, sizeof text - 1, nullptr));
    ASSERT_TRUE(wynk_cb_close());
    QProcess paste;
    paste.start(QStringLiteral("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"),
                                          QStringLiteral("clipboard")});
    ASSERT_TRUE(serve_until_finished(paste));
    EXPECT_EQ(paste.readAllStandardOutput().toStdString(), text);

    QProcess copy;
    // Emptied here, the clipboard holds text again once xclip has taken it over. In the
    // foreground xclip serves pastes until it is stopped.
    ASSERT_TRUE(wynk_cb_open(TRUE));
    ASSERT_TRUE(wynk_cb_close());
    ASSERT_FALSE(wynk_cb_has_format(CB_FORMAT_TEXT, nullptr));
    copy.start(QStringLiteral("xclip"), {QStringLiteral("-i"), QStringLiteral("-quiet"),
                                         QStringLiteral("-selection"),
                                         QStringLiteral("clipboard")});
    copy.write("copied elsewhere");
    copy.closeWriteChannel();
    for (int i = 0; i < 500 && !wynk_cb_has_format(CB_FORMAT_TEXT, nullptr); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        copy.waitForReadyRead(5);
    }
    ASSERT_TRUE(wynk_cb_open(FALSE));
    int32_t size = 0;
    EXPECT_STREQ(static_cast<const char*>(wynk_cb_get_data(CB_FORMAT_TEXT, nullptr, &size)),
                 "copied elsewhere");
    EXPECT_EQ(size, 16);
    wynk_cb_close();
    copy.kill();
    copy.waitForFinished();
}
