// Files of the file system: existence, listing, attributes and removal.
#include <cstring>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "portable/report_hook.h"
#include <wyn/fsys.h>
#include <wyn/str.h>

namespace {

constexpr char kReportUnit[] = "vfsys";

static_assert(sizeof(long) >= sizeof(char*), "text attributes are handed over in a long");

struct DirCloser {
    void operator()(DIR* d) const { closedir(d); }
};

bool full_path(const FILE_SPEC* file_spec, char (&path)[WYN_SZ_FNAME + 1]) {
    return file_spec && wynk_fsys_file_makepath(file_spec, path, sizeof path);
}

bool type_matches(const char* name, const char* type) {
    if (!type || !*type || std::strcmp(type, "*") == 0) return true;
    const char* dot = std::strrchr(name, '.');
    if (!dot || dot == name) return false;
    return wynv_str_compare_ignoring_case(dot + 1, type) == 0;
}

// Copies a caller's text into a fixed field, refusing what does not fit.
BOOLEAN set_text(char* field, size_t capacity, long value) {
    auto* text = reinterpret_cast<const char*>(value);
    if (!text) return FALSE;
    size_t len = std::strlen(text);
    if (len + 1 > capacity) {
        PORTABLE_REPORT(PORTABLE_PATH_TOO_LONG, PORTABLE_WARNING);
        return FALSE;
    }
    std::memcpy(field, text, len + 1);
    return TRUE;
}

BOOLEAN set_permission(const char* path, mode_t bit, long on) {
    struct stat st;
    if (stat(path, &st) != 0) return FALSE;
    mode_t mode = on ? (st.st_mode | bit) : (st.st_mode & ~bit);
    return chmod(path, mode & 07777) == 0 ? TRUE : FALSE;
}

} // namespace

BOOLEAN wynk_fsys_file_exists(const FILE_SPEC* file_spec) {
    char path[WYN_SZ_FNAME + 1];
    return full_path(file_spec, path) && access(path, F_OK) == 0 ? TRUE : FALSE;
}

// Names starting with byte 0xFF cannot be stored in a list and are left out.
SLIST wynk_fsys_list_files(const char* type, const char* pattern, BOOLEAN include_dirs) {
    SLIST list = wynv_slist_create();
    if (!list) return nullptr;
    std::unique_ptr<DIR, DirCloser> dir(opendir("."));
    if (!dir) return list;
    DIRECTORY cwd;
    bool at_root = wynk_fsys_get_dir(&cwd) && std::strcmp(cwd.path, "/") == 0;
    while (dirent* entry = readdir(dir.get())) {
        const char* name = entry->d_name;
        if (static_cast<unsigned char>(name[0]) == 0xFF || std::strcmp(name, ".") == 0) continue;
        struct stat st;
        if (stat(name, &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            if (include_dirs && !(at_root && std::strcmp(name, "..") == 0))
                wynv_slist_add_sorted(list, name, WYN_FSYS_ENTRY_DIR, FALSE, FALSE);
        } else if (S_ISREG(st.st_mode) && type_matches(name, type) &&
                   (!pattern || wynv_str_match(name, pattern, FALSE))) {
            wynv_slist_add_sorted(list, name, WYN_FSYS_ENTRY_FILE, FALSE, FALSE);
        }
    }
    // The root of the file system stands for the drive roots.
    if (include_dirs) wynv_slist_add_sorted(list, "/", WYN_FSYS_ENTRY_ROOT, FALSE, FALSE);
    return list;
}

long wynv_fsys_get_file_attr(const FILE_SPEC* file_spec, int attr) {
    char path[WYN_SZ_FNAME + 1];
    if (!full_path(file_spec, path)) return -1;
    switch (attr) {
    case WYN_FATTR_EXISTS:
        return access(path, F_OK) == 0;
    case WYN_FATTR_READABLE:
        return access(path, R_OK) == 0;
    case WYN_FATTR_WRITABLE:
        return access(path, W_OK) == 0;
    case WYN_FATTR_CREATOR:
        return reinterpret_cast<long>(file_spec->creator);
    case WYN_FATTR_DIR_TEXT:
        return reinterpret_cast<long>(file_spec->dir.path);
    case WYN_FATTR_NAME:
        return reinterpret_cast<long>(file_spec->name);
    case WYN_FATTR_TYPE:
        return reinterpret_cast<long>(file_spec->type);
    default:
        break;
    }
    if (attr < WYN_FATTR_IS_DIR || attr > WYN_FATTR_MODE) {
        PORTABLE_REPORT(PORTABLE_INVALID_ATTRIBUTE, PORTABLE_WARNING);
        return -1;
    }
    struct stat st;
    if (stat(path, &st) != 0) return -1;
    switch (attr) {
    case WYN_FATTR_IS_DIR:
        return S_ISDIR(st.st_mode) ? 1 : 0;
    case WYN_FATTR_SIZE:
        return static_cast<long>(st.st_size);
    case WYN_FATTR_MODIFIED:
        return static_cast<long>(st.st_mtime);
    case WYN_FATTR_ACCESSED:
        return static_cast<long>(st.st_atime);
    case WYN_FATTR_CHANGED:
        return static_cast<long>(st.st_ctime);
    case WYN_FATTR_IS_REGULAR:
        return S_ISREG(st.st_mode) ? 1 : 0;
    default:
        return static_cast<long>(st.st_mode & 07777);
    }
}

BOOLEAN wynv_fsys_set_file_attr(FILE_SPEC* file_spec, int attr, long value) {
    if (!file_spec) return FALSE;
    char path[WYN_SZ_FNAME + 1];
    switch (attr) {
    case WYN_FATTR_READABLE:
        return full_path(file_spec, path) ? set_permission(path, S_IRUSR, value) : FALSE;
    case WYN_FATTR_WRITABLE:
        return full_path(file_spec, path) ? set_permission(path, S_IWUSR, value) : FALSE;
    case WYN_FATTR_CREATOR:
        return set_text(file_spec->creator, sizeof file_spec->creator, value);
    case WYN_FATTR_DIR_TEXT:
        return set_text(file_spec->dir.path, sizeof file_spec->dir.path, value);
    case WYN_FATTR_NAME:
        return set_text(file_spec->name, sizeof file_spec->name, value);
    case WYN_FATTR_TYPE:
        return set_text(file_spec->type, sizeof file_spec->type, value);
    default:
        PORTABLE_REPORT(PORTABLE_INVALID_ATTRIBUTE, PORTABLE_WARNING);
        return FALSE;
    }
}

BOOLEAN wynv_fsys_rem_file(const FILE_SPEC* file_spec) {
    char path[WYN_SZ_FNAME + 1];
    return full_path(file_spec, path) && unlink(path) == 0 ? TRUE : FALSE;
}
