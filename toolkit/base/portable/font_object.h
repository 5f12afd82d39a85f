// Internal side of font objects: the native record, the per-process font state (interned family
// names, built-in faces, the native font cache) and the helpers the kernel's mapping uses.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <wyn/font.h>
#include <wyn/res.h>

#include "portable/font_cache.h"

struct wyn_font_native {
    std::string desc;           // the "NT_01" descriptor, completed once the font is mapped
    std::string request;        // the descriptor as set, wildcards kept for the next mapping
    int32_t dpi = 0;            // the resolution of the current mapping
    std::shared_ptr<void> font; // the mapped native font, shared with the cache
};

// The family names that have a built-in face, in the order of their string resources.
inline constexpr int kBuiltinFaceCount = 5;

struct FontState;

// The calling process's font cache.
FontCache& font_cache();

// The interned copy of name (stable until the toolkit ends).
const char* font_intern(std::string_view name);

// The face a family stands for: the built-in face of "system", "helvetica", "fixed", "times" or
// "courier" (read once from its string resource), else the family name itself.
std::string font_face_for_family(const char* family);

// True for the families that must map to a monospaced face ("fixed", "courier").
bool font_family_is_fixed(const char* family);

// True for a live font object.
bool font_alive(FONT font);

// A new font from a font resource: its family, style and size, and its descriptor when that is a
// complete "NT_01" one (else the font maps purely).
FONT font_from_resource(const WYN_RES_FONT* res);

// Installs the font module's hooks in the resource reader, so that windows and dialogs read from
// resources get their font objects; called once the toolkit has begun.
void fonts_install_resource_hooks();
