// The current directory: reading, changing, saving, restoring and the start-up directory.
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "portable/fsys_dir.h"
#include "portable/report_hook.h"
#include <wyn/fsys.h>
#include <wyn/static.h>

namespace {

constexpr char kReportUnit[] = "vfsys";
constexpr int kSaveDepth = 8;

struct DirState {
    DIRECTORY startup;
    bool have_startup;
    DIRECTORY saved[kSaveDepth];
    int saved_count;
};

bool read_cwd(DIRECTORY* dir) {
    if (getcwd(dir->path, sizeof dir->path)) return true;
    dir->path[0] = '\0';
    return false;
}

// The directory current when the process loaded the library. It belongs to the process, not to
// one run of the toolkit: a toolkit begun again after wynwi_End must not take whatever directory
// is current then for its start-up directory.
struct LoadDir {
    DIRECTORY dir;
    bool known;
    LoadDir() : dir{}, known(read_cwd(&dir)) {}
};
const LoadDir load_dir;

void record_startup(void* block) {
    auto* state = static_cast<DirState*>(block);
    state->startup = load_dir.dir;
    state->have_startup = load_dir.known;
}

const WYN_STATIC_DESC dir_desc = {sizeof(DirState), nullptr, record_startup, nullptr};

DirState* state() {
    return static_cast<DirState*>(wynk_static_get_ptr(&dir_desc));
}

bool enter(const char* path) {
    return path[0] != '\0' && chdir(path) == 0;
}

} // namespace

bool portable_fsys_record_startup_dir() {
    DirState* s = state();
    if (!s) return false;
    s->have_startup = read_cwd(&s->startup);
    return s->have_startup;
}

BOOLEAN wynk_fsys_get_dir(DIRECTORY* dir) {
    if (!dir) return FALSE;
    if (read_cwd(dir)) return TRUE;
    PORTABLE_REPORT(PORTABLE_PATH_TOO_LONG, PORTABLE_WARNING);
    return FALSE;
}

BOOLEAN wynk_fsys_set_dir(const DIRECTORY* dir) {
    return dir && enter(dir->path) ? TRUE : FALSE;
}

BOOLEAN wynk_fsys_get_default_dir(DIRECTORY* dir) {
    return wynk_fsys_get_dir(dir);
}

BOOLEAN wynk_fsys_save_dir(void) {
    DirState* s = state();
    if (!s || s->saved_count == kSaveDepth) {
        PORTABLE_REPORT(PORTABLE_BAD_VALUE, PORTABLE_ERROR);
        return FALSE;
    }
    if (!wynk_fsys_get_dir(&s->saved[s->saved_count])) return FALSE;
    ++s->saved_count;
    return TRUE;
}

BOOLEAN wynk_fsys_restore_dir(void) {
    DirState* s = state();
    if (!s || s->saved_count == 0) return FALSE;
    return enter(s->saved[--s->saved_count].path) ? TRUE : FALSE;
}

BOOLEAN wynk_fsys_set_dir_startup(void) {
    DirState* s = state();
    return s && s->have_startup && enter(s->startup.path) ? TRUE : FALSE;
}

BOOLEAN wynk_fsys_convert_dir_to_str(const DIRECTORY* dir, char* buf, long size) {
    if (!dir || !buf || size < 1) return FALSE;
    size_t len = strnlen(dir->path, sizeof dir->path);
    if (len + 1 > static_cast<size_t>(size) || len == sizeof dir->path) {
        PORTABLE_REPORT(PORTABLE_BUFFER_TOO_SMALL, PORTABLE_ERROR);
        return FALSE;
    }
    std::memcpy(buf, dir->path, len);
    buf[len] = '\0';
    return TRUE;
}

// The path is made absolute and normalised by its text alone ("." and ".." segments, repeated
// separators); links are not followed and the directory need not exist.
BOOLEAN wynk_fsys_convert_str_to_dir(const char* path, DIRECTORY* dir) {
    if (!path || !dir || !*path) {
        PORTABLE_REPORT(PORTABLE_DIR_FORMAT, PORTABLE_ERROR);
        return FALSE;
    }
    std::string full = path;
    if (full[0] != '/') {
        DIRECTORY cwd;
        if (!wynk_fsys_get_dir(&cwd)) return FALSE;
        full.insert(0, std::string(cwd.path) + "/");
    }
    std::vector<std::string> parts;
    for (size_t start = 0; start <= full.size();) {
        size_t end = full.find('/', start);
        if (end == std::string::npos) end = full.size();
        std::string part = full.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string normal;
    for (const std::string& part : parts) normal += "/" + part;
    if (normal.empty()) normal = "/";
    if (normal.size() > WYN_SZ_FNAME) {
        PORTABLE_REPORT(PORTABLE_PATH_TOO_LONG, PORTABLE_WARNING);
        return FALSE;
    }
    std::memcpy(dir->path, normal.c_str(), normal.size() + 1);
    return TRUE;
}
