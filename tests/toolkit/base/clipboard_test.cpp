// The clipboard through the desktop's clipboard: text, pictures and application formats go both
// ways, several formats of one session stand together, and misuse is reported as it fails.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "kernel/pictures.h"
#include "toolkit/base/app_support.h"
#include <wyn/clipboard.h>

namespace {

std::vector<int> severities;

int32_t record_severity(WYN_ERRMSG* msg, intptr_t) {
    severities.push_back(wynv_errmsg_get_sev_id(msg));
    return 0;
}

bool reported(WYN_MSG_ID id) {
    const auto& ids = reported_ids();
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

class Clipboard : public ToolkitTest {
  protected:
    void SetUp() override {
        ToolkitTest::SetUp();
        QGuiApplication::clipboard()->clear();
        severities.clear();
        // Offered first, it lets the fixture's own handler take each report after it.
        wynv_errmsg_push_handler(record_severity, 0);
    }
    void TearDown() override {
        wynk_cb_close();
        wynv_errmsg_pop_handler(record_severity);
        ToolkitTest::TearDown();
    }

    // Puts bytes as format in one writing session, telling the clipboard they are size long.
    static BOOLEAN put(int32_t format, const char* name, const std::string& bytes, int32_t size) {
        if (!wynk_cb_open(TRUE)) return FALSE;
        auto* block = static_cast<char*>(wynk_cb_alloc_data(int32_t(bytes.size())));
        if (!block) return FALSE;
        std::memcpy(block, bytes.data(), bytes.size());
        const BOOLEAN put = wynk_cb_put_data(format, name, size, nullptr);
        wynk_cb_close();
        return put;
    }

    // What format holds as the library reads it, with the size it tells; "<none>" for null.
    static std::string get(int32_t format, const char* name, int32_t* size) {
        EXPECT_TRUE(wynk_cb_open(FALSE));
        auto* data = static_cast<const char*>(wynk_cb_get_data(format, name, size));
        std::string out = data ? std::string(data, size_t(*size)) : "<none>";
        if (data) {
            EXPECT_EQ(data[*size], '\0');
        }
        wynk_cb_close();
        return out;
    }
};

} // namespace

TEST_F(Clipboard, TextReachesTheDesktopWithOrWithoutItsTerminator) {
    const std::string text = "Line 231 V\r\nBattery 100 % \xe2\x80\x93 ok";
    for (int32_t size : {int32_t(text.size()), int32_t(text.size() + 1), 0}) {
        SCOPED_TRACE(size);
        ASSERT_TRUE(put(CB_FORMAT_TEXT, nullptr, text, size));
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), text);
        int32_t got_size = -1;
        EXPECT_EQ(get(CB_FORMAT_TEXT, nullptr, &got_size), text);
        EXPECT_EQ(got_size, int32_t(text.size()));
    }
    EXPECT_TRUE(reported_ids().empty());
}

TEST_F(Clipboard, TextOfAnotherProgramIsReadUpToItsTerminator) {
    QGuiApplication::clipboard()->setText(QString::fromUtf8("first\nsecond"));
    EXPECT_TRUE(wynk_cb_has_format(CB_FORMAT_TEXT, nullptr));
    EXPECT_FALSE(wynk_cb_has_format(CB_FORMAT_PICT, nullptr));
    EXPECT_FALSE(wynk_cb_has_format(CB_FORMAT_APP, "graph"));
    int32_t size = -1;
    EXPECT_EQ(get(CB_FORMAT_TEXT, nullptr, &size), "first\nsecond");
    EXPECT_EQ(size, 12);

    QGuiApplication::clipboard()->setText(QString::fromUtf8("cut\0short", 9));
    EXPECT_EQ(get(CB_FORMAT_TEXT, nullptr, &size), "cut");
    EXPECT_EQ(size, 3);
}

TEST_F(Clipboard, ApplicationFormatKeepsItsBytesUnderItsOwnType) {
    const std::string bytes("\x01\x00\x02\xff"
                            "tail",
                            8);
    ASSERT_TRUE(put(CB_FORMAT_APP, "Graph Data", bytes, int32_t(bytes.size())));
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(QStringLiteral("application/x-wyn-graph%20data")));
    EXPECT_FALSE(data->hasText());

    // Names were registered without regard to case; other names are other formats.
    EXPECT_TRUE(wynk_cb_has_format(CB_FORMAT_APP, "GRAPH DATA"));
    EXPECT_FALSE(wynk_cb_has_format(CB_FORMAT_APP, "graph%20data"));
    EXPECT_FALSE(wynk_cb_has_format(CB_FORMAT_APP, "graph"));
    int32_t size = -1;
    EXPECT_EQ(get(CB_FORMAT_APP, "graph data", &size), bytes);
    EXPECT_EQ(size, 8);

    // A size beyond the block gives what was allocated and no more.
    ASSERT_TRUE(put(CB_FORMAT_APP, "graph", "abc", 1000));
    EXPECT_EQ(get(CB_FORMAT_APP, "graph", &size), "abc");
    EXPECT_TRUE(reported_ids().empty());
}

TEST_F(Clipboard, FormatsOfOneSessionStandTogetherAndTheNextWritingSessionEmptiesThem) {
    ASSERT_TRUE(wynk_cb_open(TRUE));
    std::strcpy(static_cast<char*>(wynk_cb_alloc_data(5)), "hello");
    ASSERT_TRUE(wynk_cb_put_data(CB_FORMAT_TEXT, nullptr, 5, nullptr));
    std::strcpy(static_cast<char*>(wynk_cb_alloc_data(3)), "abc");
    ASSERT_TRUE(wynk_cb_put_data(CB_FORMAT_APP, "mine", 3, nullptr));
    ASSERT_TRUE(wynk_cb_close());
    EXPECT_TRUE(wynk_cb_has_format(CB_FORMAT_TEXT, nullptr));
    EXPECT_TRUE(wynk_cb_has_format(CB_FORMAT_APP, "mine"));

    ASSERT_TRUE(wynk_cb_open(FALSE));
    int32_t size = 0;
    EXPECT_STREQ(static_cast<const char*>(wynk_cb_get_data(CB_FORMAT_TEXT, nullptr, &size)),
                 "hello");
    // A second read replaces the first block; reading leaves the clipboard as it was.
    EXPECT_STREQ(static_cast<const char*>(wynk_cb_get_data(CB_FORMAT_APP, "mine", &size)), "abc");
    wynk_cb_free_data();
    ASSERT_TRUE(wynk_cb_close());
    EXPECT_TRUE(wynk_cb_has_format(CB_FORMAT_TEXT, nullptr));

    ASSERT_TRUE(wynk_cb_open(TRUE));
    EXPECT_FALSE(wynk_cb_has_format(CB_FORMAT_TEXT, nullptr));
    EXPECT_FALSE(wynk_cb_has_format(CB_FORMAT_APP, "mine"));
    EXPECT_TRUE(reported_ids().empty());
}

TEST_F(Clipboard, ASecondOpenIsReportedAndOpensAfresh) {
    ASSERT_TRUE(wynk_cb_open(FALSE));
    ASSERT_NE(wynk_cb_alloc_data(10), nullptr);
    EXPECT_TRUE(wynk_cb_open(TRUE));
    EXPECT_EQ(reported_ids(), std::vector<WYN_MSG_ID>{0x1570003});
    // The block of the first session went with it.
    EXPECT_FALSE(wynk_cb_put_data(CB_FORMAT_TEXT, nullptr, 0, nullptr));
    std::strcpy(static_cast<char*>(wynk_cb_alloc_data(2)), "ok");
    EXPECT_TRUE(wynk_cb_put_data(CB_FORMAT_TEXT, nullptr, 2, nullptr));
    EXPECT_TRUE(wynk_cb_close());
    EXPECT_TRUE(wynk_cb_close());
}

TEST_F(Clipboard, MisuseFailsWithAReportAndLeavesTheClipboardAlone) {
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    // Putting or getting on a closed clipboard, or opened only for reading.
    ASSERT_NE(wynk_cb_alloc_data(4), nullptr);
    EXPECT_FALSE(wynk_cb_put_data(CB_FORMAT_TEXT, nullptr, 4, nullptr));
    EXPECT_EQ(wynk_cb_get_data(CB_FORMAT_TEXT, nullptr, nullptr), nullptr);
    ASSERT_TRUE(wynk_cb_open(FALSE));
    ASSERT_NE(wynk_cb_alloc_data(4), nullptr);
    EXPECT_FALSE(wynk_cb_put_data(CB_FORMAT_TEXT, nullptr, 4, nullptr));
    wynk_cb_close();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    // An application format without a usable name, or with a negative size.
    EXPECT_FALSE(wynk_cb_has_format(CB_FORMAT_APP, std::string(300, 'n').c_str()));
    ASSERT_TRUE(wynk_cb_open(TRUE));
    ASSERT_NE(wynk_cb_alloc_data(4), nullptr);
    EXPECT_FALSE(wynk_cb_put_data(CB_FORMAT_APP, nullptr, 4, nullptr));
    EXPECT_FALSE(wynk_cb_put_data(CB_FORMAT_APP, "", 4, nullptr));
    EXPECT_FALSE(wynk_cb_put_data(CB_FORMAT_APP, "mine", -4, nullptr));
    wynk_cb_close();
    EXPECT_FALSE(wynk_cb_has_format(CB_FORMAT_APP, "mine"));
    EXPECT_EQ(reported_ids(),
              (std::vector<WYN_MSG_ID>{WYN_MSG_WRONG_STATE, WYN_MSG_WRONG_STATE,
                                       WYN_MSG_WRONG_STATE, WYN_MSG_BAD_VALUE, WYN_MSG_NULL_POINTER,
                                       WYN_MSG_BAD_VALUE, WYN_MSG_VALUE_TOO_LOW}));
    reported_ids().clear();

    // A format the clipboard does not hold is no fault.
    ASSERT_TRUE(wynk_cb_open(FALSE));
    int32_t size = 7;
    EXPECT_EQ(wynk_cb_get_data(CB_FORMAT_APP, "absent", &size), nullptr);
    EXPECT_EQ(size, 0);
    EXPECT_TRUE(reported_ids().empty());
}

TEST_F(Clipboard, UnknownFormatsAndBlocksThatCannotBeHadAreFatal) {
    ASSERT_TRUE(wynk_cb_open(TRUE));
    EXPECT_FALSE(wynk_cb_has_format(3, nullptr));
    EXPECT_FALSE(wynk_cb_put_data(-1, nullptr, 0, nullptr));
    EXPECT_EQ(wynk_cb_get_data(7, nullptr, nullptr), nullptr);
    EXPECT_EQ(reported_ids(), (std::vector<WYN_MSG_ID>{0x1250002, 0x1250002, 0x1250002}));
    EXPECT_EQ(severities, (std::vector<int>{WYN_SEV_FATAL, WYN_SEV_FATAL, WYN_SEV_FATAL}));

    reported_ids().clear();
    severities.clear();
    EXPECT_EQ(wynk_cb_alloc_data(-1), nullptr);
    EXPECT_EQ(reported_ids(), std::vector<WYN_MSG_ID>{0x1510002});
    EXPECT_EQ(severities, std::vector<int>{WYN_SEV_FATAL});
    // The failure closed the clipboard: nothing more can be put until it is opened again.
    reported_ids().clear();
    EXPECT_FALSE(wynk_cb_put_data(CB_FORMAT_TEXT, nullptr, 0, nullptr));
    EXPECT_TRUE(reported(WYN_MSG_WRONG_STATE));
}

TEST_F(Clipboard, PicturesTravelAsImagesBothWays) {
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    image.setPixel(0, 0, qRgb(200, 10, 10));
    image.setPixel(2, 1, qRgb(10, 10, 200));
    PICTURE pict = pict_from_qimage(image);
    ASSERT_NE(pict, nullptr);
    ASSERT_TRUE(wynk_cb_open(TRUE));
    ASSERT_TRUE(wynk_cb_put_data(CB_FORMAT_PICT, nullptr, 0, pict));
    ASSERT_TRUE(wynk_cb_close());
    // The picture stays the caller's; the desktop holds a copy of its pixels.
    ASSERT_TRUE(wynk_pict_is_valid(pict));
    wynk_pict_destroy(pict);
    const QImage desktop =
        QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(desktop, image);
    EXPECT_TRUE(wynk_cb_has_format(CB_FORMAT_PICT, nullptr));
    EXPECT_FALSE(wynk_cb_has_format(CB_FORMAT_TEXT, nullptr));

    // Read back, the bytes make a picture of the same pixels.
    ASSERT_TRUE(wynk_cb_open(FALSE));
    int32_t size = 0;
    const void* bytes = wynk_cb_get_data(CB_FORMAT_PICT, nullptr, &size);
    ASSERT_NE(bytes, nullptr);
    ASSERT_GT(size, 54);
    EXPECT_EQ(std::memcmp(bytes, "BM", 2), 0);
    PICTURE copy = wynk_pict_create(bytes, uint32_t(size));
    wynk_cb_close();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(pict_to_qimage(copy).convertToFormat(QImage::Format_RGB32), image);
    wynk_pict_destroy(copy);

    // An image another program copied reads as a picture too.
    QImage other(4, 4, QImage::Format_ARGB32);
    other.fill(qRgb(0, 128, 0));
    QGuiApplication::clipboard()->setImage(other);
    ASSERT_TRUE(wynk_cb_open(FALSE));
    bytes = wynk_cb_get_data(CB_FORMAT_PICT, nullptr, &size);
    ASSERT_NE(bytes, nullptr);
    copy = wynk_pict_create(bytes, uint32_t(size));
    wynk_cb_close();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(pict_to_qimage(copy).pixel(3, 3), qRgb(0, 128, 0));
    wynk_pict_destroy(copy);
    EXPECT_TRUE(reported_ids().empty());
}

TEST_F(Clipboard, APictureThatIsMissingOrGoneIsRefused) {
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    ASSERT_TRUE(wynk_cb_open(TRUE));
    EXPECT_FALSE(wynk_cb_put_data(CB_FORMAT_PICT, nullptr, 0, nullptr));
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::black);
    PICTURE pict = pict_from_qimage(image);
    ASSERT_NE(pict, nullptr);
    wynk_pict_destroy(pict);
    EXPECT_FALSE(wynk_cb_put_data(CB_FORMAT_PICT, nullptr, 0, pict));
    EXPECT_EQ(reported_ids(), (std::vector<WYN_MSG_ID>{0x1210005, 0x1220005}));
    EXPECT_FALSE(wynk_cb_has_format(CB_FORMAT_PICT, nullptr));
}
