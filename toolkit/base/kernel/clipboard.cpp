// The clipboard over the desktop's clipboard (QClipboard): text as plain text, pictures as
// images, and application formats as MIME types of their own, with the open and closing state and
// the blocks written and read in between.
#include <wyn/clipboard.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kernel/kernel_state.h"
#include "kernel/pictures.h"
#include <wyn/errmsg.h>

namespace {

constexpr char kReportUnit[] = "kcb";

constexpr WYN_MSG_ID kUnknownValue = 0x1250002;
constexpr WYN_MSG_ID kNullPicture = 0x1210005;
constexpr WYN_MSG_ID kInvalidPicture = 0x1220005;
constexpr WYN_MSG_ID kAllocGlobal = 0x1510002;
constexpr WYN_MSG_ID kInternalState = 0x1570003;

void report(WYN_MSG_ID id, int line, int16_t severity = WYN_SEV_ERROR) {
    wynv_errmsg_dispatch(nullptr, severity, id, kReportUnit, line);
}

struct FreeDeleter {
    void operator()(char* p) const { std::free(p); }
};

// A picture read from the clipboard: held locked while its bytes are handed out.
struct LockedPictureDeleter {
    void operator()(wyn_pict* pict) const {
        wynk_pict_unlock(pict);
        wynk_pict_destroy(pict);
    }
};
using LockedPicture = std::unique_ptr<wyn_pict, LockedPictureDeleter>;

// What one writing session has put so far: each put publishes all of it again, so formats put
// one after the other stand side by side on the desktop's clipboard as they did natively.
struct Written {
    std::optional<QString> text;
    std::optional<QImage> image;
    std::map<QString, QByteArray> app;
};

struct ClipboardState {
    bool open = false;
    bool writing = false;
    bool closing = false;
    // The block being written: size + 1 zero-filled bytes handed out by wynk_cb_alloc_data.
    std::unique_ptr<char, FreeDeleter> write_block;
    size_t write_capacity = 0;
    // The block being read, always followed by a zero byte; or the picture made from an image.
    std::vector<char> read_block;
    LockedPicture read_picture;
    Written written;
};

ClipboardState& state() {
    static ClipboardState s;
    return s;
}

void release_blocks(ClipboardState& s) {
    s.write_block.reset();
    s.write_capacity = 0;
    s.read_block.clear();
    s.read_block.shrink_to_fit();
    s.read_picture.reset();
}

void close_clipboard(ClipboardState& s) {
    release_blocks(s);
    s.open = s.writing = false;
    s.written = Written{};
}

QClipboard* desktop_clipboard() {
    // Without the utility object the toolkit has no application to reach the desktop through.
    if (!kcore().utility || !QGuiApplication::instance()) return nullptr;
    return QGuiApplication::clipboard();
}

bool known_format(int32_t format) {
    if (format == CB_FORMAT_TEXT || format == CB_FORMAT_PICT || format == CB_FORMAT_APP)
        return true;
    report(kUnknownValue, __LINE__, WYN_SEV_FATAL);
    return false;
}

// The MIME type an application format registered as name travels under. Registration ignored
// case, so the name is lower-cased; bytes a MIME type cannot hold are written as %XX so that
// different names never meet. Empty when the name cannot be registered (reported).
QString app_mime_type(const char* name) {
    if (!name) {
        report(WYN_MSG_NULL_POINTER, __LINE__);
        return {};
    }
    const size_t length = strnlen(name, CB_MAX_FORMAT_NAME + 1);
    if (length == 0 || length > CB_MAX_FORMAT_NAME) {
        report(WYN_MSG_BAD_VALUE, __LINE__);
        return {};
    }
    std::string type = "application/x-wyn-";
    for (size_t i = 0; i < length; ++i) {
        auto ch = static_cast<unsigned char>(name[i]);
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<unsigned char>(ch - 'A' + 'a');
        if ((ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || std::strchr(".+-_", ch)) {
            type += static_cast<char>(ch);
        } else {
            static constexpr char hex[] = "0123456789abcdef";
            type += '%';
            type += hex[ch >> 4];
            type += hex[ch & 15];
        }
    }
    return QString::fromLatin1(type.data(), static_cast<qsizetype>(type.size()));
}

void publish(QClipboard* cb, const Written& w) {
    auto* data = new QMimeData;
    if (w.text) data->setText(*w.text);
    if (w.image) data->setImageData(*w.image);
    for (const auto& [type, bytes] : w.app) data->setData(type, bytes);
    cb->setMimeData(data);
}

bool holds(const QMimeData* data, int32_t format, const QString& type) {
    if (!data) return false;
    switch (format) {
    case CB_FORMAT_TEXT:
        return data->hasText();
    case CB_FORMAT_PICT:
        return data->hasImage();
    default:
        return data->hasFormat(type);
    }
}

void* read_failed(ClipboardState& s) {
    close_clipboard(s);
    return nullptr;
}

} // namespace

BOOLEAN wynk_cb_open(BOOLEAN for_writing) {
    ClipboardState& s = state();
    if (s.open) report(kInternalState, __LINE__);
    release_blocks(s);
    QClipboard* cb = desktop_clipboard();
    if (!cb) {
        close_clipboard(s);
        return FALSE;
    }
    s.open = true;
    s.writing = for_writing != FALSE;
    s.written = Written{};
    if (s.writing) cb->clear();
    return TRUE;
}

BOOLEAN wynk_cb_close(void) {
    ClipboardState& s = state();
    if (s.closing) return TRUE;
    s.closing = true;
    close_clipboard(s);
    s.closing = false;
    return TRUE;
}

BOOLEAN wynk_cb_has_format(int32_t format, const char* name) {
    if (!known_format(format)) return FALSE;
    QString type;
    if (format == CB_FORMAT_APP && (type = app_mime_type(name)).isEmpty()) return FALSE;
    QClipboard* cb = desktop_clipboard();
    return cb && holds(cb->mimeData(), format, type) ? TRUE : FALSE;
}

void* wynk_cb_alloc_data(int32_t size) {
    ClipboardState& s = state();
    s.write_block.reset();
    s.write_capacity = 0;
    // calloc leaves untouched pages to the system, so a large block costs only what is written.
    char* block = size >= 0 ? static_cast<char*>(std::calloc(size_t(size) + 1, 1)) : nullptr;
    if (!block) {
        wynk_cb_close();
        report(kAllocGlobal, __LINE__, WYN_SEV_FATAL);
        return nullptr;
    }
    s.write_block.reset(block);
    s.write_capacity = size_t(size) + 1;
    return block;
}

BOOLEAN wynk_cb_put_data(int32_t format, const char* name, int32_t size, PICTURE picture) {
    if (!known_format(format)) return FALSE;
    ClipboardState& s = state();
    QClipboard* cb = desktop_clipboard();
    if (!s.open || !s.writing || !cb) {
        report(WYN_MSG_WRONG_STATE, __LINE__);
        return FALSE;
    }
    if (format == CB_FORMAT_PICT) {
        if (!picture) {
            report(kNullPicture, __LINE__);
            return FALSE;
        }
        QImage image = pict_to_qimage(picture);
        if (image.isNull()) {
            report(kInvalidPicture, __LINE__);
            return FALSE;
        }
        s.written.image = std::move(image);
        publish(cb, s.written);
        return TRUE;
    }
    QString type;
    if (format == CB_FORMAT_APP && (type = app_mime_type(name)).isEmpty()) return FALSE;
    if (!s.write_block) {
        report(WYN_MSG_WRONG_STATE, __LINE__);
        return FALSE;
    }
    if (format == CB_FORMAT_APP && size < 0) {
        report(WYN_MSG_VALUE_TOO_LOW, __LINE__);
        return FALSE;
    }
    const char* block = s.write_block.get();
    // The block always ends in a zero byte, so text without a terminator of its own still ends.
    if (format == CB_FORMAT_TEXT) {
        s.written.text = QString::fromUtf8(block, qsizetype(std::strlen(block)));
    } else {
        const size_t count = std::min(size_t(size), s.write_capacity - 1);
        s.written.app[type] = QByteArray(block, qsizetype(count));
    }
    s.write_block.reset();
    s.write_capacity = 0;
    publish(cb, s.written);
    return TRUE;
}

void* wynk_cb_get_data(int32_t format, const char* name, int32_t* size) {
    if (size) *size = 0;
    if (!known_format(format)) return nullptr;
    ClipboardState& s = state();
    QString type;
    if (format == CB_FORMAT_APP && (type = app_mime_type(name)).isEmpty()) return nullptr;
    QClipboard* cb = desktop_clipboard();
    const QMimeData* data = cb ? cb->mimeData() : nullptr;
    if (!holds(data, format, type)) return nullptr;
    if (!s.open) {
        report(WYN_MSG_WRONG_STATE, __LINE__);
        return read_failed(s);
    }
    s.read_block.clear();
    s.read_picture.reset();
    if (format == CB_FORMAT_PICT) {
        const QImage image = qvariant_cast<QImage>(data->imageData());
        if (image.isNull()) return read_failed(s);
        PICTURE pict = pict_from_qimage(image);
        uint32_t bytes = 0;
        void* block = pict ? wynk_pict_lock(pict, &bytes) : nullptr;
        if (!block) {
            wynk_pict_destroy(pict);
            return read_failed(s);
        }
        s.read_picture.reset(pict);
        if (bytes > INT32_MAX) return read_failed(s);
        if (size) *size = static_cast<int32_t>(bytes);
        return block;
    }
    const QByteArray bytes = format == CB_FORMAT_TEXT ? data->text().toUtf8() : data->data(type);
    // Blocks beyond what a size can tell are refused rather than handed out cut short.
    if (bytes.size() >= INT32_MAX) return read_failed(s);
    s.read_block.assign(bytes.begin(), bytes.end());
    s.read_block.push_back('\0');
    const size_t length =
        format == CB_FORMAT_TEXT ? std::strlen(s.read_block.data()) : size_t(bytes.size());
    if (size) *size = static_cast<int32_t>(length);
    return s.read_block.data();
}

void wynk_cb_free_data(void) {
    release_blocks(state());
}
