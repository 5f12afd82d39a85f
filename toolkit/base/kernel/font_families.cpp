// The font-map enumerations: families, styles and sizes of the font database as string lists.
#include <QFontDatabase>
#include <QList>
#include <QStringList>
#include <algorithm>
#include <string>
#include <wyn/font.h>

namespace {

// The font database is the same for the display and the printers it renders for, so a print
// record does not change what is listed.
uint32_t style_bits(const QString& family, const QString& style) {
    uint32_t bits = 0;
    if (QFontDatabase::bold(family, style)) bits |= FS_BOLD;
    if (QFontDatabase::italic(family, style)) bits |= FS_ITALIC;
    return bits;
}

QList<int> sizes_of(const QString& family, const QString& style) {
    if (QFontDatabase::isSmoothlyScalable(family, style)) return QFontDatabase::standardSizes();
    QList<int> sizes = QFontDatabase::pointSizes(family, style);
    std::sort(sizes.begin(), sizes.end());
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    return sizes;
}

SLIST sizes_list(const QList<int>& sizes) {
    SLIST list = wynv_slist_create();
    if (!list) return nullptr;
    for (int size : sizes) {
        if (!wynv_slist_add_at_pos(list, -1, std::to_string(size).c_str(), size)) {
            wynv_slist_destroy(list);
            return nullptr;
        }
    }
    return list;
}

template <typename Keep> SLIST styles_list(const char* family, Keep keep) {
    SLIST list = wynv_slist_create();
    if (!list || !family) return list;
    const QString name = QString::fromUtf8(family);
    for (const QString& style : QFontDatabase::styles(name)) {
        if (!keep(name, style)) continue;
        if (!wynv_slist_add_at_pos(list, -1, style.toUtf8().constData(),
                                   long(style_bits(name, style)))) {
            wynv_slist_destroy(list);
            return nullptr;
        }
    }
    return list;
}

} // namespace

SLIST wynv_fmap_get_families(const void*) {
    SLIST list = wynv_slist_create();
    if (!list) return nullptr;
    for (const QString& family : QFontDatabase::families()) {
        // A family name cannot start with the list marker byte, which UTF-8 never produces.
        if (!wynv_slist_add_sorted(list, family.toUtf8().constData(), 0, TRUE, FALSE)) {
            wynv_slist_destroy(list);
            return nullptr;
        }
    }
    return list;
}

SLIST wynv_fmap_get_family_styles(const void*, const char* family) {
    return styles_list(family, [](const QString&, const QString&) { return true; });
}

SLIST wynv_fmap_get_familysize_styles(const void*, const char* family, int32_t size) {
    return styles_list(family, [size](const QString& name, const QString& style) {
        return sizes_of(name, style).contains(size) ||
               QFontDatabase::isSmoothlyScalable(name, style);
    });
}

SLIST wynv_fmap_get_family_sizes(const void*, const char* family) {
    if (!family) return sizes_list({});
    const QString name = QString::fromUtf8(family);
    QList<int> sizes;
    for (const QString& style : QFontDatabase::styles(name)) sizes += sizes_of(name, style);
    if (QFontDatabase::styles(name).isEmpty()) sizes = sizes_of(name, QString());
    std::sort(sizes.begin(), sizes.end());
    sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
    return sizes_list(sizes);
}

SLIST wynv_fmap_get_familystyle_sizes(const void*, const char* family, uint32_t style) {
    if (!family) return sizes_list({});
    const QString name = QString::fromUtf8(family);
    const uint32_t wanted = style & (FS_BOLD | FS_ITALIC);
    for (const QString& s : QFontDatabase::styles(name))
        if (style_bits(name, s) == wanted) return sizes_list(sizes_of(name, s));
    return sizes_list({});
}
