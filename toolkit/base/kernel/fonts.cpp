// Native fonts over QFont: mapping font objects for a device, metrics, the font families of the
// font database, and the font chooser.
#include "kernel/fonts.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPointer>
#include <algorithm>
#include <wyn/attr.h>
#include <wyn/win.h>

#include "kernel/drawing.h"
#include "kernel/std_dialogs.h"
#include "kernel/widgets.h"
#include "portable/core_state.h"
#include "portable/font_object.h"
#include "portable/report_hook.h"

namespace {

constexpr const char* kReportUnit = "fonts.cpp";
constexpr uint32_t kFontCreateFailed = 0x152000A;
// Beyond this a glyph is larger than any screen or page; larger requests are cut to it.
constexpr int kMaxPixelSize = 4096;
// The height a descriptor of height 0 ("the device's default") gets.
constexpr int kDefaultPixelSize = 16;
// The help topic current while the font chooser is up.
constexpr int32_t kFontSelectionTopic = 32100;

// The faces the built-in families name are not shipped with Linux; their metric-compatible
// stand-ins are, and the generic faces after them always exist.
void install_substitutions() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("System"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Courier New"),
                               {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine"),
                                QStringLiteral("DejaVu Sans Mono")});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                               {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"),
                                QStringLiteral("DejaVu Serif")});
}

QFont::StyleHint style_hint(int pitch_family) {
    switch (pitch_family & 0xF0) {
    case 0x10:
        return QFont::Serif;
    case 0x20:
        return QFont::SansSerif;
    case 0x30:
        return QFont::Monospace;
    case 0x40:
        return QFont::Cursive;
    case 0x50:
        return QFont::Decorative;
    default:
        return QFont::AnyStyle;
    }
}

// Makes f monospaced when the face it resolved to is not.
void force_fixed_pitch(QFont& f) {
    f.setFixedPitch(true);
    f.setStyleHint(QFont::Monospace, f.styleStrategy());
    if (QFontInfo(f).fixedPitch()) return;
    QStringList candidates{QFontDatabase::systemFont(QFontDatabase::FixedFont).family(),
                           QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono"),
                           QStringLiteral("Noto Sans Mono"), QStringLiteral("FreeMono")};
    for (const QString& family : candidates) {
        if (!QFontDatabase::isFixedPitch(family)) continue;
        f.setFamilies({family});
        if (QFontInfo(f).fixedPitch()) return;
    }
}

std::shared_ptr<NativeFont> make_native(const FontLogical& logical, bool fixed) {
    auto native = std::make_shared<NativeFont>();
    native->font = fonts_qfont_for(logical, fixed);
    QFontMetrics fm(native->font);
    native->ascent = fm.ascent();
    native->descent = fm.descent();
    native->leading = fm.leading();
    native->internal_leading = std::max(0, fm.ascent() + fm.descent() - native->font.pixelSize());
    QFontInfo info(native->font);
    native->family = info.family();
    native->fixed_pitch = info.fixedPitch();
    native->scalable = QFontDatabase::isSmoothlyScalable(info.family(), info.styleName());
    native->escapement = logical.num[FD_ESCAPEMENT];
    return native;
}

// The cache may hold native fonts only while Qt's font machinery exists.
void clear_cache_with_application() {
    static QPointer<QCoreApplication> registered;
    if (!QCoreApplication::instance() || registered == QCoreApplication::instance()) return;
    registered = QCoreApplication::instance();
    qAddPostRoutine([] { font_cache().clear(); });
}

const NativeFont* mapped_native(FONT font) {
    if (!font_alive(font) || !font->mapped || !font->native->font) return nullptr;
    return static_cast<const NativeFont*>(font->native->font.get());
}

uint32_t style_of(const QFont& f) {
    uint32_t style = 0;
    if (f.weight() >= QFont::DemiBold) style |= FS_BOLD;
    if (f.italic()) style |= FS_ITALIC;
    if (f.underline()) style |= FS_UNDERLINE;
    if (f.strikeOut()) style |= FS_STRIKEOUT;
    return style;
}

} // namespace

int fonts_device_dpi(WINDOW) {
    const ATTR_VALUE dpi = core_attr(ATTR_SCREEN_RES_V);
    return dpi > 0 ? static_cast<int>(dpi) : 96;
}

QFont fonts_qfont_for(const FontLogical& logical, bool fixed) {
    install_substitutions();
    const auto& n = logical.num;
    QFont f;
    f.setFamilies({QString::fromUtf8(logical.face.data(), qsizetype(logical.face.size()))});
    f.setStyleHint(style_hint(n[FD_PITCH_FAMILY]));
    const int64_t height = n[FD_HEIGHT];
    const int64_t magnitude = height < 0 ? -height : height;
    f.setPixelSize(height == 0 ? kDefaultPixelSize
                               : int(std::min<int64_t>(magnitude, kMaxPixelSize)));
    f.setWeight(QFont::Weight(n[FD_WEIGHT] == 0 ? 400 : std::clamp(n[FD_WEIGHT], 1, 1000)));
    f.setItalic(n[FD_ITALIC] != 0);
    f.setUnderline(n[FD_UNDERLINE] != 0);
    f.setStrikeOut(n[FD_STRIKEOUT] != 0);
    if (n[FD_QUALITY] == 3) f.setStyleStrategy(QFont::NoAntialias);
    if (n[FD_QUALITY] == 4 || n[FD_QUALITY] == 5) f.setStyleStrategy(QFont::PreferAntialias);
    if (fixed || (n[FD_PITCH_FAMILY] & 3) == 1) force_fixed_pitch(f);
    // A positive height is the whole cell, internal leading included, rather than the glyphs.
    if (height > 0) {
        const int cell = QFontMetrics(f).height();
        if (cell > 0) f.setPixelSize(std::max(1, int(magnitude * f.pixelSize() / cell)));
    }
    if (n[FD_WIDTH] > 0) {
        const int average = QFontMetrics(f).averageCharWidth();
        if (average > 0)
            f.setStretch(std::clamp(int(int64_t(n[FD_WIDTH]) * 100 / average), 1, 4000));
    }
    return f;
}

std::shared_ptr<const NativeFont> fonts_map(FONT font, int dpi) {
    if (!font_alive(font)) return nullptr;
    wyn_font_native& rec = *font->native;
    if (font->mapped && rec.font && rec.dpi == dpi)
        return std::static_pointer_cast<const NativeFont>(rec.font);
    std::optional<FontDesc> request = font_desc_parse(rec.request);
    if (!request) {
        PORTABLE_REPORT(kFontCreateFailed, PORTABLE_ERROR);
        return nullptr;
    }
    const FontLogical logical = font_desc_complete(*request, font_face_for_family(font->family),
                                                   font->style, font->size, dpi);
    const bool fixed = font_family_is_fixed(font->family);
    const std::string desc = font_desc_format(logical);
    const std::string key = desc + (fixed ? "|fixed" : "|");
    FontCache& cache = font_cache();
    std::shared_ptr<void> native = cache.find(key);
    if (!native) {
        clear_cache_with_application();
        native = make_native(logical, fixed);
        cache.insert(key, native, FontCache::capacity_for(long(core_attr(ATTR_FONT_CACHE_SIZE))));
    }
    rec.desc = desc;
    rec.font = native;
    rec.dpi = dpi;
    font->mapped = TRUE;
    return std::static_pointer_cast<const NativeFont>(native);
}

BOOLEAN wynv_font_map(FONT font, WINDOW win) {
    if (!font_alive(font)) return FALSE;
    if (font->win != win) {
        font->win = win;
        font->mapped = FALSE;
    }
    return fonts_map(font, drawing_dpi(win)) ? TRUE : FALSE;
}

BOOLEAN wynv_font_map_using_default(FONT font) {
    return wynv_font_map(font, nullptr);
}

const char* wynk_font_get_family_mapped(FONT font) {
    const NativeFont* native = mapped_native(font);
    return native ? font_intern(native->family.toStdString()) : nullptr;
}

int32_t wynk_font_get_size_mapped(FONT font) {
    const NativeFont* native = mapped_native(font);
    std::optional<FontDesc> desc = native ? font_desc_parse(font->native->desc) : std::nullopt;
    if (!desc || !desc->num[FD_HEIGHT]) return 0;
    const int64_t dpi = font->native->dpi > 0 ? font->native->dpi : 96;
    int64_t height = *desc->num[FD_HEIGHT];
    height = height < 0 ? -height : std::max<int64_t>(0, height - native->internal_leading);
    return static_cast<int32_t>((height * 72 + dpi / 2) / dpi);
}

uint32_t wynk_font_get_style_mapped(FONT font) {
    const NativeFont* native = mapped_native(font);
    return native ? style_of(native->font) : 0;
}

BOOLEAN wynk_font_get_metrics(FONT font, int32_t* leading, int32_t* ascent, int32_t* descent) {
    const NativeFont* native = mapped_native(font);
    if (!native) return FALSE;
    if (leading) *leading = native->leading;
    if (ascent) *ascent = native->ascent;
    if (descent) *descent = native->descent;
    return TRUE;
}

BOOLEAN wynk_font_is_scalable(FONT font) {
    const NativeFont* native = mapped_native(font);
    return native && native->scalable ? TRUE : FALSE;
}

BOOLEAN wynk_font_is_print(FONT font) {
    return mapped_native(font) && font->win && font->win->kind == WK_PRINT ? TRUE : FALSE;
}

const char* wynk_font_get_plat_name(void) {
    return WYN_FONT_PLAT_NAME;
}

FONT wynk_dwin_get_font(WINDOW win) {
    return drawing_window_font(win);
}

void wynv_dwin_set_font(WINDOW win, FONT font) {
    FONT own = drawing_window_font(win);
    if (own && font_alive(font) && own != font) wynv_font_copy(own, font, FA_ALL & ~FA_WIN);
}

const char* wynv_dwin_get_font_family(WINDOW win) {
    return wynv_font_get_family(drawing_window_font(win));
}
void wynv_dwin_set_font_family(WINDOW win, const char* family) {
    wynv_font_set_family(drawing_window_font(win), family);
}
uint32_t wynv_dwin_get_font_style(WINDOW win) {
    return wynv_font_get_style(drawing_window_font(win));
}
void wynv_dwin_set_font_style(WINDOW win, uint32_t style) {
    wynv_font_set_style(drawing_window_font(win), style);
}
int32_t wynv_dwin_get_font_size(WINDOW win) {
    return wynv_font_get_size(drawing_window_font(win));
}
void wynv_dwin_set_font_size(WINDOW win, int32_t size) {
    wynv_font_set_size(drawing_window_font(win), size);
}
const char* wynv_dwin_get_font_native_desc(WINDOW win) {
    return wynv_font_get_native_desc(drawing_window_font(win));
}
BOOLEAN wynv_dwin_set_font_native_desc(WINDOW win, const char* desc) {
    return wynv_font_set_native_desc(drawing_window_font(win), desc);
}
intptr_t wynv_dwin_get_font_app_data(WINDOW win) {
    return wynv_font_get_app_data(drawing_window_font(win));
}
void wynv_dwin_set_font_app_data(WINDOW win, intptr_t data) {
    wynv_font_set_app_data(drawing_window_font(win), data);
}

const char* wynv_dwin_get_font_family_mapped(WINDOW win) {
    FONT font = drawing_window_font(win);
    return wynv_font_map(font, win) ? wynk_font_get_family_mapped(font) : nullptr;
}
uint32_t wynv_dwin_get_font_style_mapped(WINDOW win) {
    FONT font = drawing_window_font(win);
    return wynv_font_map(font, win) ? wynk_font_get_style_mapped(font) : 0;
}
int32_t wynv_dwin_get_font_size_mapped(WINDOW win) {
    FONT font = drawing_window_font(win);
    return wynv_font_map(font, win) ? wynk_font_get_size_mapped(font) : 0;
}

BOOLEAN wynv_dm_post_font_sel(WINDOW win, FONT font, const void*, uint32_t) {
    if (!font_alive(font)) return FALSE;
    WINDOW target = core_win_alive(win) ? win : nullptr;
    QFont initial;
    WINDOW map_for = font->win ? font->win : target;
    if (std::shared_ptr<const NativeFont> native = fonts_map(font, drawing_dpi(map_for)))
        initial = native->font;
    // The chooser starts from the portable size, not from the mapped pixel height.
    initial.setPointSizeF(std::clamp(font->size, 1, kFontSizeMax));
    QFontDialog dialog(initial, widget_of(target));
    {
        help_topic_scope scope(kFontSelectionTopic);
        if (dialog.exec() != QDialog::Accepted) return FALSE;
    }
    const QFont chosen = dialog.selectedFont();
    // The choice comes back in tenths of a point and is rounded to whole points.
    const int tenths = int(std::clamp(chosen.pointSizeF(), 0.0, double(kFontSizeMax)) * 10 + 0.5);
    const int32_t size = (tenths + 5) / 10;
    const char* family = font_intern(chosen.family().toStdString());
    const uint32_t style = style_of(chosen);
    if (size == font->size && family == font->family && style == font->style) return FALSE;
    wynv_font_set_native_desc(font, font_desc_format(font_desc_wildcard()).c_str());
    font->family = family;
    font->style = style;
    font->size = size;
    if (target) {
        EVENT ev{};
        ev.type = E_FONT;
        ev.v.font.font = font;
        wynk_win_dispatch_event(target, &ev);
    }
    return TRUE;
}
