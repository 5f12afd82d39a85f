// The help flavor and the help file's life: the process-wide flavor record, finding the file
// (its directory, the current directory, HELP, WYNPATH, PATH), opening and closing it, and
// handing topics and searches to the help viewer.
#include <sys/stat.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>
#include <wyn/app.h>
#include <wyn/attr.h>
#include <wyn/ctl.h>
#include <wyn/dm.h>
#include <wyn/help_engine.h>
#include <wyn/static.h>

#include "help_info.h"

namespace wynhelp {

namespace {

// Paths the library builds fit this many bytes with their terminator.
constexpr size_t kPathSize = 256;
// A directory and a name joined may take this many bytes.
constexpr size_t kJoinLimit = 252;

// The default Help-menu associations every window shares: (tag, topic) in order of installing.
constexpr int32_t kDefaultMenuAssocs[][2] = {{32451, 32020}, {32455, 32001}, {32462, 32006},
                                             {32453, 32022}, {32452, 32000}, {32454, 32005},
                                             {32457, 32021}, {32458, 32023}, {32459, 32007}};

// The process's flavor record and the help files it has open. It lives as long as the toolkit,
// so a toolkit begun again starts without a flavor; files still open then go with it.
struct Flavor {
    Flavor() = default;
    Flavor(const Flavor&) = delete;
    Flavor& operator=(const Flavor&) = delete;
    ~Flavor() {
        for (HELP_INFO help : open_files) delete help;
    }

    int16_t initialized = 0;
    int16_t open_count = 0;
    char extension[8] = {};
    int32_t flavor = 0;
    std::vector<HELP_INFO> open_files;
};

Flavor* flavor() {
    static constexpr WYN_STATIC_DESC desc = {
        sizeof(Flavor), nullptr, [](void* block) { new (block) Flavor(); },
        [](void* block) { static_cast<Flavor*>(block)->~Flavor(); }};
    return static_cast<Flavor*>(wynk_static_get_ptr(&desc));
}

Flavor* filled_flavor() {
    Flavor* f = flavor();
    if (!f || f->initialized) return f;
    std::snprintf(f->extension, sizeof f->extension, "%s", ".hlp");
    f->flavor = HELP_FLAVOR_NATIVE;
    f->initialized = 1;
    return f;
}

bool is_separator(char c) {
    return c == '/' || c == '\\';
}

// A name that is never searched for: rooted ("/" or "\\"), relative to "." or on a drive.
bool is_absolute(const char* name) {
    return name[0] == '/' || name[0] == '\\' || name[0] == '.' || (name[0] && name[1] == ':');
}

// A name in this platform's form: "\\" separates as "/" does, and the file system's root stands
// for a drive's.
std::string native_path(const char* name) {
    std::string path;
    if (name[0] && name[1] == ':') {
        name += 2;
        if (!is_separator(name[0])) path.push_back('/');
    }
    path += name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// directory and name joined by one "/"; empty when the result would not fit.
std::string join(const std::string& directory, const char* name) {
    while (is_separator(*name)) ++name;
    std::string path = directory;
    if (!path.empty() && !is_separator(path.back())) path += '/';
    path += name;
    if (path.size() > kJoinLimit) return {};
    return native_path(path.c_str());
}

bool is_file(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string with_extension(const std::string& path, const char* extension) {
    char in[kPathSize];
    char out[kPathSize];
    std::snprintf(in, sizeof in, "%s", path.c_str());
    return helpu_change_extension(in, out, extension);
}

// The first directory of the environment list named variable that holds name.
std::string search_list(const char* variable, const char* name) {
    const char* list = std::getenv(variable);
    if (!list) return {};
    std::string entries(list);
    size_t start = 0;
    while (start <= entries.size()) {
        const size_t end = std::min(entries.find_first_of(":;", start), entries.size());
        const std::string directory = entries.substr(start, end - start);
        if (!directory.empty()) {
            std::string candidate = join(directory, name);
            if (is_file(candidate)) return candidate;
        }
        start = end + 1;
    }
    return {};
}

// The candidate when it exists; else, when searching is allowed, its name in the current
// directory, then in the directories of HELP, WYNPATH and PATH.
std::string find_file(const std::string& candidate, bool search) {
    if (is_file(candidate)) return candidate;
    if (!search) return {};
    const size_t cut = candidate.find_last_of("/\\:");
    const std::string name = cut == std::string::npos ? candidate : candidate.substr(cut + 1);
    DIRECTORY current{};
    char current_text[kPathSize];
    if (wynk_fsys_get_dir(&current) &&
        wynk_fsys_convert_dir_to_str(&current, current_text, sizeof current_text)) {
        std::string here = join(current_text, name.c_str());
        if (is_file(here)) return here;
    }
    for (const char* variable : {"HELP", "WYNPATH", "PATH"}) {
        std::string found = search_list(variable, name.c_str());
        if (!found.empty()) return found;
    }
    return {};
}

// Where the name of file_spec is first looked for, and whether it may be searched for; empty
// when its directory cannot be named or the two do not fit together.
std::string first_candidate(const FILE_SPEC& file_spec, bool& search) {
    const char* name = file_spec.name;
    search = !is_absolute(name);
    if (!search) return native_path(std::string(name, strnlen(name, kPathSize - 1)).c_str());
    char directory[kPathSize];
    if (!wynk_fsys_convert_dir_to_str(&file_spec.dir, directory, sizeof directory)) return {};
    return join(directory, name);
}

void install_default_menu_assocs(HELP_INFO help) {
    for (const auto& [tag, topic] : kDefaultMenuAssocs)
        wynv_help_set_menu_assoc(help, nullptr, tag, topic, 0);
}

void call_engine(HELP_INFO help, uint32_t command, uintptr_t data) {
    if (HelpEngine engine = help_engine())
        engine(wynwi_get_utility_hwnd(), help->path.c_str(), command, data);
}

} // namespace

HelpEngine& help_engine() {
    static HelpEngine engine = wynhv_help;
    return engine;
}

void report(WYN_MSG_ID id, int16_t sev, const char* unit, int line, void* target) {
    wynv_errmsg_dispatch(target, sev, id, unit, line);
}

void out_of_memory(size_t size, const char* unit, int line) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "HELP error: %d!\nUnable to allocate %zu bytes [File: %s, line: %d]\n", 103, size,
                  unit, line);
    wynv_dm_post_fatal_exit("%s", text);
}

BOOLEAN help_hook(void* data, WINDOW win, EVENT* ev) {
    return wynv_help_process_event(static_cast<HELP_INFO>(data), win, ev) ? FALSE : TRUE;
}

} // namespace wynhelp

using namespace wynhelp;

BOOLEAN wynv_help_is_valid_info(HELP_INFO help) {
    // Only handles the library still holds are read, so a closed one is never touched.
    Flavor* f = flavor();
    if (!help || !f) return FALSE;
    const auto& open = f->open_files;
    return std::find(open.begin(), open.end(), help) != open.end() && help->self == help ? TRUE
                                                                                         : FALSE;
}

int32_t wynv_help_get_flavor(void) {
    Flavor* f = flavor();
    return f && f->initialized ? f->flavor : 0;
}

HELP_INFO wynv_help_open_helpfile(const FILE_SPEC* file_spec, uint32_t flags) {
    Flavor* f = filled_flavor();
    if (!f) {
        out_of_memory(sizeof(Flavor), kUnitServices, __LINE__);
        return nullptr;
    }
    if (!file_spec) {
        report(kMsgNull, WYN_SEV_ERROR, kUnitServices, __LINE__);
        return nullptr;
    }
    bool search = false;
    const std::string candidate = first_candidate(*file_spec, search);
    if (candidate.empty()) return nullptr;
    std::string path = find_file(with_extension(candidate, f->extension), search);
    if (path.empty()) return nullptr;

    std::unique_ptr<wyn_help_info> help(new (std::nothrow) wyn_help_info());
    if (!help) {
        out_of_memory(sizeof(wyn_help_info), kUnitServices, __LINE__);
        return nullptr;
    }
    help->self = help.get();
    help->owner = help.get();
    help->open_flags = flags;
    help->path = std::move(path);
    if (std::FILE* csa = std::fopen(with_extension(help->path, ".csa").c_str(), "r")) {
        int32_t where = 0;
        const WYN_MSG_ID fault = read_assoc_file(csa, help->file_table, &where);
        std::fclose(csa);
        if (fault != 0) report(fault, WYN_SEV_ERROR, kUnitAssoc, __LINE__, help.get());
        if (fault == kMsgNoMemory)
            out_of_memory(static_cast<size_t>(where) * sizeof(FileEntry), kUnitAssoc, __LINE__);
    }

    HELP_INFO opened = help.release();
    f->open_files.push_back(opened);
    ++f->open_count;
    if (!(flags & HELP_OPEN_NO_MENU_ASSOC)) install_default_menu_assocs(opened);
    if (f->open_count == 1 && wynk_vobj_get_attr(nullptr, ATTR_EVENT_HOOK) == 0) {
        wynv_vobj_set_attr(nullptr, ATTR_EVENT_HOOK, reinterpret_cast<ATTR_VALUE>(&help_hook));
        wynv_vobj_set_attr(nullptr, ATTR_EVENT_HOOK_DATA, reinterpret_cast<ATTR_VALUE>(opened));
    }
    return opened;
}

BOOLEAN wynv_help_close_helpfile(HELP_INFO help) {
    if (!wynv_help_is_valid_info(help)) return FALSE;
    call_engine(help, WYN_HELP_QUIT, 0);
    // A pointer still trapped for object clicks would outlive the file that asked for it.
    wynv_help_end_objclick(help);
    if (wynk_vobj_get_attr(nullptr, ATTR_EVENT_HOOK_DATA) == reinterpret_cast<ATTR_VALUE>(help))
        wynv_vobj_set_attr(nullptr, ATTR_EVENT_HOOK_DATA, 0);
    Flavor* f = flavor();
    f->open_files.erase(std::find(f->open_files.begin(), f->open_files.end(), help));
    clear_assocs(help);
    help->self = nullptr;
    help->owner = nullptr;
    delete help;
    return TRUE;
}

void wynv_help_display_topic(HELP_INFO help, int32_t topic) {
    if (!wynv_help_is_valid_info(help)) return;
    wynk_scr_set_busy_cursor();
    if (!wynwi_get_utility_hwnd()) return;
    if (topic == HELP_TOPIC_HELP_ON_HELP)
        call_engine(help, WYN_HELP_HELPONHELP, 0);
    else if (topic == HELP_TOPIC_CONTENTS)
        call_engine(help, WYN_HELP_CONTENTS, 0);
    else
        call_engine(help, WYN_HELP_CONTEXT, static_cast<uintptr_t>(static_cast<uint32_t>(topic)));
}

void wynv_help_search_topic(HELP_INFO help, int32_t, const char* keyword) {
    if (!wynv_help_is_valid_info(help)) return;
    wynk_scr_set_busy_cursor();
    if (!wynwi_get_utility_hwnd()) return;
    call_engine(help, WYN_HELP_PARTIALKEY, reinterpret_cast<uintptr_t>(keyword ? keyword : ""));
}

char* helpu_change_extension(char* path, char* out, const char* ext) {
    char* result = out ? out : path;
    if (!path || !ext) return result;
    const std::string source(path, strnlen(path, kPathSize - 1));
    // The directory part keeps the separator it ends in, so nothing is added between it and the
    // name.
    const size_t name_at =
        source.find_last_of("/\\:") == std::string::npos ? 0 : source.find_last_of("/\\:") + 1;
    const size_t dot = source.find_last_of('.');
    const size_t name_end = dot != std::string::npos && dot >= name_at ? dot : source.size();
    std::string rebuilt = source.substr(0, name_end);
    if (ext[0] != '.') rebuilt += '.';
    rebuilt += ext;
    std::snprintf(result, kPathSize, "%s", rebuilt.c_str());
    return result;
}
