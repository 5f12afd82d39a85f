/* Fonts: portable font objects (family, style, size, application data) mapped on demand to native
   fonts through the "NT_01" native descriptor, their text form, and the font families of a
   device. */
#pragma once

#include <wyn/slist.h>
#include <wyn/types.h>

WYN_BEGIN_C

/* The magic word of a live font object. */
#define WYN_FONT_MAGIC 0x6A6AFA5Au

/* Style bits. */
#define FS_NORMAL 0x0u
#define FS_BOLD 0x1u
#define FS_ITALIC 0x2u
#define FS_UNDERLINE 0x10u
#define FS_STRIKEOUT 0x200u

/* Attribute bits of wynv_font_copy's mask. */
#define FA_FAMILY 0x01u
#define FA_STYLE 0x02u
#define FA_SIZE 0x04u
#define FA_APP_DATA 0x08u
#define FA_NATIVE_DESC 0x10u
#define FA_WIN 0x20u
#define FA_ALL 0x3Fu

/* The platform name of the native descriptor. */
#define WYN_FONT_PLAT_NAME "NT_01"
/* The longest native descriptor and serialised font, terminator included. */
#define WYN_FONT_DESC_SIZE 256
#define WYN_FONT_SER_SIZE 512

/* The native side of a font (descriptor, mapped native font, resolution); opaque. */
struct wyn_font_native;

/* A font object; valid while magic is WYN_FONT_MAGIC. */
typedef struct wyn_font {
    struct wyn_font_native* native;
    uint32_t magic;
    const char* family; /* interned: equal names share one pointer */
    uint32_t style;     /* FS_* */
    int32_t size;       /* points */
    intptr_t app_data;
    WINDOW win;     /* the window the font is mapped for, or null */
    BOOLEAN mapped; /* the native descriptor is complete and a native font exists */
} * FONT;

/* A new font: family "system", style 0, size 12, a descriptor asking for a pure mapping; null
   (reported) when out of memory. */
WYN_EXPORT FONT wynv_font_create(void);
/* Frees font; null and invalid fonts are ignored. */
WYN_EXPORT void wynv_font_destroy(FONT font);
/* Copies the attributes of src named by mask (FA_*) into dest, or into a new font when dest is
   null; returns dest (or the new font), null when src is invalid. */
WYN_EXPORT FONT wynv_font_copy(FONT dest, FONT src, uint32_t mask);
/* TRUE for a live font object. */
WYN_EXPORT BOOLEAN wynv_font_is_valid(FONT font);

/* Attribute accessors; each setter unmaps the font. Getters give 0 or null for invalid fonts. */
WYN_EXPORT const char* wynv_font_get_family(FONT font);
WYN_EXPORT void wynv_font_set_family(FONT font, const char* family);
WYN_EXPORT uint32_t wynv_font_get_style(FONT font);
WYN_EXPORT void wynv_font_set_style(FONT font, uint32_t style);
WYN_EXPORT int32_t wynv_font_get_size(FONT font);
WYN_EXPORT void wynv_font_set_size(FONT font, int32_t size);
WYN_EXPORT intptr_t wynv_font_get_app_data(FONT font);
WYN_EXPORT void wynv_font_set_app_data(FONT font, intptr_t data);
/* The native descriptor (valid until the font changes); null for an invalid font. */
WYN_EXPORT const char* wynv_font_get_native_desc(FONT font);
/* Sets the native descriptor; a descriptor that does not parse is reported ("Wrong argument
   format") and gives FALSE, the font unchanged. */
WYN_EXPORT BOOLEAN wynv_font_set_native_desc(FONT font, const char* desc);
/* TRUE when the font's native descriptor parses. */
WYN_EXPORT BOOLEAN wynv_font_has_valid_native_desc(FONT font);
/* The window the font is mapped for. */
WYN_EXPORT WINDOW wynv_font_get_win(FONT font);
/* Sets the window the font is to be mapped for; unmaps it. */
WYN_EXPORT void wynv_font_set_win(FONT font, WINDOW win);

/* Maps font for win's device (null: the display): completes its descriptor and makes the native
   font; FALSE (0x152000A reported) when no native font can be made. */
WYN_EXPORT BOOLEAN wynv_font_map(FONT font, WINDOW win);
/* Maps font for the display. */
WYN_EXPORT BOOLEAN wynv_font_map_using_default(FONT font);
/* Drops the native font; the descriptor keeps its completed values. */
WYN_EXPORT void wynv_font_unmap(FONT font);
WYN_EXPORT BOOLEAN wynv_font_is_mapped(FONT font);

/* Queries of a mapped font (null, 0 or FALSE when it is not mapped): the face actually selected,
   the size in points from the native height, and the style the native font has. */
WYN_EXPORT const char* wynk_font_get_family_mapped(FONT font);
WYN_EXPORT int32_t wynk_font_get_size_mapped(FONT font);
WYN_EXPORT uint32_t wynk_font_get_style_mapped(FONT font);
/* Line metrics in pixels of the mapped font; FALSE when it is not mapped. */
WYN_EXPORT BOOLEAN wynk_font_get_metrics(FONT font, int32_t* leading, int32_t* ascent,
                                         int32_t* descent);
WYN_EXPORT BOOLEAN wynk_font_is_scalable(FONT font);
/* TRUE when the font is mapped for a print window. */
WYN_EXPORT BOOLEAN wynk_font_is_print(FONT font);
/* "NT_01". */
WYN_EXPORT const char* wynk_font_get_plat_name(void);

/* Writes "01\family\style\size\descriptor" into buffer; returns the length including the
   terminator (buffer null: the length only). A buffer too small receives "" and gives 0
   (reported). */
WYN_EXPORT int32_t wynv_font_serialize(FONT font, char* buffer, int32_t size);
/* Reads a serialised font into font; a text without four backslashes, with a style or size that
   is no number, or with a descriptor that does not parse is reported ("Wrong argument format")
   and gives FALSE, the font unchanged. */
WYN_EXPORT BOOLEAN wynv_font_deserialize(FONT font, const char* text);

/* The window's current font (owned by the window), or null for a window that cannot draw. */
WYN_EXPORT FONT wynk_dwin_get_font(WINDOW win);
/* Copies font into the window as its current font; the caller keeps its own. */
WYN_EXPORT void wynv_dwin_set_font(WINDOW win, FONT font);
/* Accessors of the window's current font, as the wynv_font_ functions of the same name. */
WYN_EXPORT const char* wynv_dwin_get_font_family(WINDOW win);
WYN_EXPORT void wynv_dwin_set_font_family(WINDOW win, const char* family);
WYN_EXPORT uint32_t wynv_dwin_get_font_style(WINDOW win);
WYN_EXPORT void wynv_dwin_set_font_style(WINDOW win, uint32_t style);
WYN_EXPORT int32_t wynv_dwin_get_font_size(WINDOW win);
WYN_EXPORT void wynv_dwin_set_font_size(WINDOW win, int32_t size);
WYN_EXPORT const char* wynv_dwin_get_font_native_desc(WINDOW win);
WYN_EXPORT BOOLEAN wynv_dwin_set_font_native_desc(WINDOW win, const char* desc);
WYN_EXPORT intptr_t wynv_dwin_get_font_app_data(WINDOW win);
WYN_EXPORT void wynv_dwin_set_font_app_data(WINDOW win, intptr_t data);
/* The mapped family, style and size of the window's current font (mapped for it first). */
WYN_EXPORT const char* wynv_dwin_get_font_family_mapped(WINDOW win);
WYN_EXPORT uint32_t wynv_dwin_get_font_style_mapped(WINDOW win);
WYN_EXPORT int32_t wynv_dwin_get_font_size_mapped(WINDOW win);

/* Font families of the display (print_rec null) or of a print record's device, each as a list
   the caller frees with wynv_slist_destroy; null when out of memory. Families are sorted names
   with data 0; styles are names ("Regular", "Bold", ...) with their FS_ bits as data; sizes are
   decimal point sizes in ascending order with the size as data (a scalable family lists the
   standard sizes). */
WYN_EXPORT SLIST wynv_fmap_get_families(const void* print_rec);
WYN_EXPORT SLIST wynv_fmap_get_family_styles(const void* print_rec, const char* family);
WYN_EXPORT SLIST wynv_fmap_get_family_sizes(const void* print_rec, const char* family);
WYN_EXPORT SLIST wynv_fmap_get_familysize_styles(const void* print_rec, const char* family,
                                                 int32_t size);
WYN_EXPORT SLIST wynv_fmap_get_familystyle_sizes(const void* print_rec, const char* family,
                                                 uint32_t style);

/* Shows the font chooser for font (mapped for win first when it has one); when the user confirms
   a different choice the font takes it, win receives E_FONT with the font, and TRUE is returned.
   print_rec and flags are accepted for the caller's sake; the display's fonts are offered. */
WYN_EXPORT BOOLEAN wynv_dm_post_font_sel(WINDOW win, FONT font, const void* print_rec,
                                         uint32_t flags);

WYN_END_C
