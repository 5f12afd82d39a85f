// Resource libraries and the start-up resources of a program.
#include "kernel/app_resources.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <dlfcn.h>
#include <sys/stat.h>

#include "kernel/kernel_state.h"
#include "portable/core_state.h"
#include <wyn/attr.h>
#include <wyn/menu.h>
#include <wyn/res.h>

namespace {

constexpr char kModuleEntry[] = "wyn_program_resources";
constexpr int32_t kResourceNameId = 30399;
constexpr size_t kResourceNameMax = 10;
constexpr size_t kNameStringMax = 512;
constexpr int32_t kProgramIconId = 9012;

using ModuleEntry = const WYN_RES_MODULE* (*)();

// A bare name is looked for beside the program first (its directory is the current one), as the
// original platform searched the program's directory; otherwise the loader's own search applies.
std::string library_path(const char* name) {
    std::string path = name;
    struct stat st {};
    if (path.find('/') == std::string::npos && ::stat(name, &st) == 0 && S_ISREG(st.st_mode))
        path = "./" + path;
    return path;
}

bool copy_string(int32_t id, size_t max, std::string& out) {
    std::string buffer(max + 1, '\0');
    if (!wynv_res_get_str(id, buffer.data(), static_cast<int32_t>(buffer.size()))) return false;
    out = buffer.c_str();
    return true;
}

} // namespace

bool app_use_resource_library(const char* name) {
    if (!name || !*name) return false;
    app_release_resource_library();
    void* library = dlopen(library_path(name).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) return false;
    auto entry = reinterpret_cast<ModuleEntry>(dlsym(library, kModuleEntry));
    const WYN_RES_MODULE* module = entry ? entry() : nullptr;
    if (!module) {
        dlclose(library);
        return false;
    }
    KernelState& k = kcore();
    k.resource_library = library;
    k.own_resources = wynwi_get_resources();
    wynwi_set_resources(module);
    return true;
}

void app_release_resource_library() {
    KernelState& k = kcore();
    if (!k.resource_library) return;
    wynwi_set_resources(k.own_resources);
    dlclose(k.resource_library);
    k.resource_library = nullptr;
    k.own_resources = nullptr;
}

bool app_read_resource_name(std::string& name) {
    return copy_string(kResourceNameId, kResourceNameMax, name);
}

bool app_has_accelerators() {
    return wynv_res_find_accel_table(MENU_ACCEL_TABLE) != nullptr;
}

bool app_string_of_attr(int32_t id, std::string& text) {
    const ATTR_VALUE string_id = core_attr(id);
    return string_id > 0 && string_id <= INT32_MAX &&
           copy_string(static_cast<int32_t>(string_id), kNameStringMax, text);
}

void app_use_program_icon() {
    const WYN_RES_ICON* icon = wynv_res_find_icon(nullptr, kProgramIconId);
    if (!icon || !icon->xpm || icon->lines == 0) return;
    const QPixmap picture(icon->xpm);
    if (!picture.isNull()) QApplication::setWindowIcon(QIcon(picture));
}
