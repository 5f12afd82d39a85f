// Reading and writing image files through streams, paths and open files, and format detection.
#include <cstdio>
#include <vector>

#include "portable/image_internal.h"
#include "portable/report_hook.h"

namespace {

constexpr char kReportUnit[] = "vimageio";

using Parser = IMAGE (*)(std::span<const uint8_t>);

// The whole stream in memory, refused beyond the readers' limit; false, reported, on failure.
bool slurp(IOSTR stream, std::vector<uint8_t>& out) {
    if (!stream) {
        image_report(IMAGE_NULL_POINTER, PORTABLE_ERROR, kReportUnit, __LINE__);
        return false;
    }
    uint8_t chunk[16384];
    for (;;) {
        const long got = wynv_iostr_read(stream, chunk, sizeof chunk);
        if (got < 0) {
            image_report(IMAGE_READ_FAILED, PORTABLE_ERROR, kReportUnit, __LINE__);
            return false;
        }
        if (got == 0) return true;
        if (out.size() + static_cast<size_t>(got) > kImageMaxFileBytes) {
            image_report(IMAGE_PARSE_FAILURE, PORTABLE_ERROR, kReportUnit, __LINE__);
            return false;
        }
        out.insert(out.end(), chunk, chunk + got);
    }
}

IMAGE read_stream(IOSTR stream, Parser parse) {
    std::vector<uint8_t> data;
    return slurp(stream, data) ? parse(data) : nullptr;
}

IMAGE read_file(FILE* file, Parser parse) {
    IOSTR stream = wynv_iostr_create_fread(file);
    if (!stream) {
        image_report(file ? IMAGE_CREATE_FAILED : IMAGE_NULL_POINTER, PORTABLE_ERROR, kReportUnit,
                     __LINE__);
        return nullptr;
    }
    IMAGE image = read_stream(stream, parse);
    wynv_iostr_destroy(stream);
    return image;
}

// An open file closed when it goes out of scope.
struct OpenFile {
    explicit OpenFile(const char* path) : file(path ? std::fopen(path, "rb") : nullptr) {}
    ~OpenFile() {
        if (file) std::fclose(file);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    FILE* file;
};

IMAGE read_path(const char* path, Parser parse) {
    OpenFile open(path);
    if (!open.file) {
        image_report(IMAGE_FIND_FILE, PORTABLE_ERROR, kReportUnit, __LINE__);
        return nullptr;
    }
    return read_file(open.file, parse);
}

} // namespace

IMAGE wynv_image_read(const char* path) {
    OpenFile open(path);
    if (!open.file) {
        image_report(IMAGE_FIND_FILE, PORTABLE_ERROR, kReportUnit, __LINE__);
        return nullptr;
    }
    IOSTR stream = wynv_iostr_create_fread(open.file);
    if (!stream) {
        image_report(IMAGE_CREATE_FAILED, PORTABLE_ERROR, kReportUnit, __LINE__);
        return nullptr;
    }
    // The file is read once; each test then looks at its start, as a rewind would.
    std::vector<uint8_t> data;
    const bool read = slurp(stream, data);
    wynv_iostr_destroy(stream);
    if (!read) return nullptr;
    if (bmp_detect(data)) return bmp_parse(data);
    if (xbm_detect(data)) return xbm_parse(data);
    if (xpm_detect(data)) return xpm_parse(data);
    image_report(IMAGE_CREATE_FAILED, PORTABLE_ERROR, kReportUnit, __LINE__);
    return nullptr;
}

IMAGE wynv_image_read_bmp(IOSTR stream) {
    return read_stream(stream, bmp_parse);
}
IMAGE wynv_image_read_bmp_from_fn(const char* path) {
    return read_path(path, bmp_parse);
}
IMAGE wynv_image_read_bmp_from_fp(FILE* file) {
    return read_file(file, bmp_parse);
}

IMAGE wynv_image_read_xbm(IOSTR stream) {
    return read_stream(stream, xbm_parse);
}
IMAGE wynv_image_read_xbm_from_fn(const char* path) {
    return read_path(path, xbm_parse);
}
IMAGE wynv_image_read_xbm_from_fp(FILE* file) {
    return read_file(file, xbm_parse);
}

IMAGE wynv_image_read_xpm(IOSTR stream) {
    return read_stream(stream, xpm_parse);
}
IMAGE wynv_image_read_xpm_from_fn(const char* path) {
    return read_path(path, xpm_parse);
}
IMAGE wynv_image_read_xpm_from_fp(FILE* file) {
    return read_file(file, xpm_parse);
}

IMAGE wynv_image_read_macpict(IOSTR) {
    return nullptr;
}
IMAGE wynv_image_read_macpict_from_fn(const char*) {
    return nullptr;
}
IMAGE wynv_image_read_macpict_from_fp(FILE*) {
    return nullptr;
}

BOOLEAN wynv_image_write_winbmp(IMAGE image, IOSTR stream) {
    if (!wynv_image_is_valid(image)) {
        image_report(image ? IMAGE_INVALID_IMAGE : IMAGE_NULL_IMAGE, PORTABLE_ERROR, kReportUnit,
                     __LINE__);
        return FALSE;
    }
    if (!stream) {
        image_report(IMAGE_NULL_POINTER, PORTABLE_ERROR, kReportUnit, __LINE__);
        return FALSE;
    }
    const std::vector<uint8_t> file = bmp_encode(image);
    if (!wynv_iostr_write(stream, file.data(), static_cast<long>(file.size()))) {
        image_report(IMAGE_WRITE_FAILED, PORTABLE_ERROR, kReportUnit, __LINE__);
        return FALSE;
    }
    return TRUE;
}

BOOLEAN wynv_image_write_macpict(IMAGE, IOSTR) {
    return FALSE;
}
