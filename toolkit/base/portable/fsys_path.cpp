// Splitting and joining path names, and the full path of a file record.
#include <cstring>
#include <string>

#include "portable/report_hook.h"
#include <wyn/fsys.h>

namespace {

constexpr char kReportUnit[] = "vfsys";

void put(char* out, const char* text, size_t len) {
    if (!out) return;
    std::memcpy(out, text, len);
    out[len] = '\0';
}

// The result must fit the caller's buffer and stay shorter than the longest path.
BOOLEAN deliver(const std::string& text, char* out, long size) {
    if (text.size() >= WYN_SZ_FNAME || text.size() + 1 > static_cast<size_t>(size)) {
        PORTABLE_REPORT(PORTABLE_PATH_TOO_LONG, PORTABLE_WARNING);
        return FALSE;
    }
    put(out, text.c_str(), text.size());
    return TRUE;
}

} // namespace

// A leading dot makes a hidden name here, not an extension: ".profile" has none.
BOOLEAN wynk_fsys_parse_pathname(const char* path, char* volume, char* directory, char* leaf,
                                 char* extension, char* version) {
    if (!path) return FALSE;
    size_t len = std::strlen(path);
    if (len > WYN_SZ_FNAME) {
        PORTABLE_REPORT(PORTABLE_PATH_TOO_LONG, PORTABLE_WARNING);
        return FALSE;
    }
    const char* slash = std::strrchr(path, '/');
    const char* name = slash ? slash + 1 : path;
    const char* dot = std::strrchr(name, '.');
    if (dot == name) dot = nullptr;
    const char* name_end = dot ? dot : path + len;
    put(volume, "", 0);
    put(version, "", 0);
    put(directory, path, name - path);
    put(leaf, name, name_end - name);
    if (dot)
        put(extension, dot + 1, path + len - dot - 1);
    else
        put(extension, "", 0);
    return TRUE;
}

BOOLEAN wynk_fsys_build_pathname(char* path, long size, const char* /*volume*/,
                                 const char* directory, const char* leaf, const char* extension,
                                 const char* /*version*/) {
    if (!path || size < 1) return FALSE;
    std::string full = directory ? directory : "";
    if (!full.empty() && full.back() != '/') full += '/';
    if (leaf) full += leaf;
    if (extension && *extension) full += std::string(".") + extension;
    return deliver(full, path, size);
}

// An empty directory stands for the current one, so the name is then used alone (joining it
// with "/" would name a file in the root instead).
BOOLEAN wynk_fsys_file_makepath(const FILE_SPEC* file_spec, char* path, long size) {
    if (!file_spec || !path || size < 1) return FALSE;
    std::string full(file_spec->dir.path, strnlen(file_spec->dir.path, sizeof file_spec->dir.path));
    if (!full.empty() && full.back() != '/') full += '/';
    full.append(file_spec->name, strnlen(file_spec->name, sizeof file_spec->name));
    return deliver(full, path, size);
}
