// What the image modules share: the image record, the registry of live handles, pixel access
// and the parsers of each file format over a byte buffer.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include <wyn/image.h>

struct wyn_image {
    int32_t format;
    int16_t width;
    int16_t height;
    int32_t horz_res;
    int32_t vert_res;
    uint16_t stride;
    uint16_t ncolors;
    uint8_t* pixels; // stride * height bytes
    COLOR clut[WYN_IMAGE_CLUT_SIZE];
};

// Message ids the image modules report.
enum : uint32_t {
    IMAGE_NULL_IMAGE = 0x1210007,    // "NULL Image handle"
    IMAGE_INVALID_IMAGE = 0x1220007, // "Invalid Image handle"
    IMAGE_NULL_PALETTE = 0x1210004,  // "NULL Color Palette handle"
    IMAGE_INVALID_PALETTE = 0x1220004,
    IMAGE_NULL_POINTER = 0x121000C, // "NULL pointer"
    IMAGE_BAD_VALUE = 0x1250001,    // "Bad value"
    IMAGE_TOO_MANY_COLORS = 0x1250005,
    IMAGE_NO_HEAP = 0x1510001,        // "Failed to allocate heap memory"
    IMAGE_CREATE_FAILED = 0x520000,   // "Failed to create"
    IMAGE_PALETTE_FAILED = 0x1520007, // "Failed to create color palette"
    IMAGE_FIND_FILE = 0x1530001,      // "Failed to find file"
    IMAGE_EMPTY_COLOR = 0x1530005,
    IMAGE_READ_FAILED = 0x1560001,  // "Read failed"
    IMAGE_WRITE_FAILED = 0x1560002, // "Write failed"
    IMAGE_PARSE_FAILURE = 0x590000, // the "Parse Failure" heading: a damaged bitmap
    XBM_NO_TERMINATOR = 0x1590001,
    XPM_DECLARATION = 0x1590002,
    XPM_VALUES = 0x1590003,
    XPM_CHARS_PER_PIXEL = 0x1590004,
    XPM_COLORS = 0x1590005,
    XPM_PIXELS = 0x1590006,
    XPM_EXTENSIONS = 0x1590007,
    XPM_CREATE_IMAGE = 0x152000D,
    IMAGE_BAD_FORMAT = 0x1640003, // "Invalid image format"
};

// The largest file a reader takes in: far beyond any image the toolkit shows, small enough that
// a hostile header can never make it allocate without bound.
inline constexpr size_t kImageMaxFileBytes = 64u << 20;
// The largest pixel buffer a reader creates, for the same reason.
inline constexpr size_t kImageMaxPixelBytes = 64u << 20;

// Registry of live handles shared by images and palettes: a destroyed or foreign pointer is
// never taken for a live object.
void image_registry_add(const void* object);
void image_registry_remove(const void* object);
bool image_registry_has(const void* object);

// Reports id with severity from the image module named unit.
void image_report(uint32_t id, int severity, const char* unit, int line);

// The stride of a row of format and width, or 0 for a bad format or a stride beyond 16 bits.
unsigned image_stride_for(int32_t format, int width);
// Creates an image as wynv_image_create does, reporting under unit; quiet about a bad size when
// the caller reports its own message.
IMAGE image_create(int32_t format, int width, int height, bool report_size);

// The index of color among the colours in use, adding it when there is room, else the index of
// the nearest colour in use (0 when none is in use).
int image_index_for(IMAGE image, COLOR color);
// Distance of two colours' red, green and blue, squared.
uint32_t image_color_distance2(COLOR a, COLOR b);

// Format tests: true when the bytes start as a file of that format.
bool bmp_detect(std::span<const uint8_t> data);
bool xbm_detect(std::span<const uint8_t> data);
bool xpm_detect(std::span<const uint8_t> data);
// Parsers of a whole file held in memory; null, reported, for a damaged file.
IMAGE bmp_parse(std::span<const uint8_t> data);
IMAGE xbm_parse(std::span<const uint8_t> data);
IMAGE xpm_parse(std::span<const uint8_t> data);
// The Windows bitmap file of a valid image.
std::vector<uint8_t> bmp_encode(IMAGE image);
