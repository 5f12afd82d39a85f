// The toolkit's debug log: written only when a writable file of its name already exists in the
// start-up directory; the first write of a run empties it, later writes append.
#include "portable/debug_log.h"

#include <cstdio>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "portable/err_state.h"
#include <wyn/attr.h>

namespace {

constexpr char kUnit[] = "vdebug";
constexpr char kDefaultName[] = "debug";

struct file_closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Only an existing regular file is a log: a directory of that name must not count as one.
bool log_enabled(const char* path) {
    struct stat st {};
    return ::stat(path, &st) == 0 && S_ISREG(st.st_mode) && ::access(path, W_OK) == 0;
}

} // namespace

void debug_log_vprintf(const char* format, va_list args) {
    err_state_block& state = err_state();
    const auto* attr_name = reinterpret_cast<const char*>(err_attr(ATTR_DEBUG_FILE));
    char name[ERR_FILE_NAME_SIZE];
    std::snprintf(name, sizeof name, "%s", attr_name ? attr_name : kDefaultName);
    char path[ERR_FILE_NAME_SIZE * 2];
    if (!err_start_dir_path(name, path, sizeof path) || !log_enabled(path)) return;

    std::unique_ptr<std::FILE, file_closer> file(std::fopen(path, state.debug_written ? "a" : "w"));
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) {
        file.reset();
        wynv_errmsg_dispatch(nullptr, WYN_SEV_ERROR, WYN_MSG_ACCESS_FILE, kUnit, __LINE__);
        err_leave_toolkit(ERR_EXIT_STATUS);
        return;
    }
    std::setbuf(file.get(), nullptr);
    std::vfprintf(file.get(), format, args);
    std::fputc('\n', file.get());
    state.debug_written = true;
}

void wynv_debug_printf(const char* format, ...) {
    if (format == nullptr) return;
    va_list args;
    va_start(args, format);
    debug_log_vprintf(format, args);
    va_end(args);
}
