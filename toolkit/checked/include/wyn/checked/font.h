/* Checked font calls: font objects, their mapping to native fonts, a window's current font, the
   font families on offer and the font chooser. An invalid font is reported; so is asking what a
   font was mapped to before it has been mapped. */
#pragma once

#include <wyn/font.h>

WYN_BEGIN_C

/* A new font; null when out of memory. */
FONT wyn_font_create(void);
/* Frees font. */
void wyn_font_destroy(FONT font);
/* Copies the attributes of src named by mask into dest (a new font when dest is null); null on a
   fault. */
FONT wyn_font_copy(FONT dest, FONT src, uint32_t mask);
/* TRUE for a live font (never reported). */
BOOLEAN wyn_font_is_valid(FONT font);
/* Attribute accessors; getters give 0 or null on a fault, setters unmap the font. */
const char* wyn_font_get_family(FONT font);
void wyn_font_set_family(FONT font, const char* family);
uint32_t wyn_font_get_style(FONT font);
void wyn_font_set_style(FONT font, uint32_t style);
int32_t wyn_font_get_size(FONT font);
void wyn_font_set_size(FONT font, int32_t size);
intptr_t wyn_font_get_app_data(FONT font);
void wyn_font_set_app_data(FONT font, intptr_t data);
const char* wyn_font_get_native_desc(FONT font);
BOOLEAN wyn_font_set_native_desc(FONT font, const char* desc);
BOOLEAN wyn_font_has_valid_native_desc(FONT font);
/* The window the font is mapped for; null on a fault. */
WINDOW wyn_font_get_win(FONT font);
/* Sets the window (null: none) the font is to be mapped for; unmaps it. */
void wyn_font_set_win(FONT font, WINDOW win);
/* Maps font for win (null: the display); FALSE on a fault or when no native font can be made. */
BOOLEAN wyn_font_map(FONT font, WINDOW win);
BOOLEAN wyn_font_map_using_default(FONT font);
/* Unmaps the font, then detaches it from its window. */
void wyn_font_unmap(FONT font);
BOOLEAN wyn_font_is_mapped(FONT font);
/* What a mapped font was mapped to; a font not mapped is reported. */
const char* wyn_font_get_family_mapped(FONT font);
int32_t wyn_font_get_size_mapped(FONT font);
uint32_t wyn_font_get_style_mapped(FONT font);
BOOLEAN wyn_font_get_metrics(FONT font, int32_t* leading, int32_t* ascent, int32_t* descent);
BOOLEAN wyn_font_is_scalable(FONT font);
BOOLEAN wyn_font_is_print(FONT font);
/* "NT_01". */
const char* wyn_font_get_plat_name(void);
/* Writes the font's text form into buffer (null: the length only); 0 on a fault. */
int32_t wyn_font_serialize(FONT font, char* buffer, int32_t size);
/* Reads a text form into font; FALSE on a fault or when it does not parse. */
BOOLEAN wyn_font_deserialize(FONT font, const char* text);

/* A window's current font; null on a fault. */
FONT wyn_dwin_get_font(WINDOW win);
/* Copies font into win as its current font. */
void wyn_dwin_set_font(WINDOW win, FONT font);
/* Accessors of a window's current font, as the wyn_font_ functions of the same name. */
const char* wyn_dwin_get_font_family(WINDOW win);
void wyn_dwin_set_font_family(WINDOW win, const char* family);
uint32_t wyn_dwin_get_font_style(WINDOW win);
void wyn_dwin_set_font_style(WINDOW win, uint32_t style);
int32_t wyn_dwin_get_font_size(WINDOW win);
void wyn_dwin_set_font_size(WINDOW win, int32_t size);
const char* wyn_dwin_get_font_native_desc(WINDOW win);
BOOLEAN wyn_dwin_set_font_native_desc(WINDOW win, const char* desc);
intptr_t wyn_dwin_get_font_app_data(WINDOW win);
void wyn_dwin_set_font_app_data(WINDOW win, intptr_t data);
const char* wyn_dwin_get_font_family_mapped(WINDOW win);
uint32_t wyn_dwin_get_font_style_mapped(WINDOW win);
int32_t wyn_dwin_get_font_size_mapped(WINDOW win);

/* Font families, their styles and sizes on the display (print_rec null); null on a fault. */
SLIST wyn_fmap_get_families(const void* print_rec);
SLIST wyn_fmap_get_family_styles(const void* print_rec, const char* family);
SLIST wyn_fmap_get_family_sizes(const void* print_rec, const char* family);
SLIST wyn_fmap_get_familysize_styles(const void* print_rec, const char* family, int32_t size);
SLIST wyn_fmap_get_familystyle_sizes(const void* print_rec, const char* family, uint32_t style);

/* Shows the font chooser for font; TRUE when the user chose another font. Refused during
   E_UPDATE. */
BOOLEAN wyn_dm_post_font_sel(WINDOW win, FONT font, const void* print_rec, uint32_t flags);

WYN_END_C
