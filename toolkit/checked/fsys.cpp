// Checked file-system calls: directory and file records, path buffers and file attributes.
#include <wyn/checked/util.h>

#include "check.h"

using namespace wyn_checked;

namespace {

// Attributes read from or written to the file itself rather than the record.
bool needs_file(int attr) {
    return attr >= WYN_FATTR_READABLE && attr <= WYN_FATTR_MODE;
}

} // namespace

// clang-format off
CHECKED(kFsys, wyn_fsys_get_dir, (DIRECTORY* dir),
        c.given(dir), FALSE, wynk_fsys_get_dir, (dir))
CHECKED(kFsys, wyn_fsys_set_dir, (const DIRECTORY* dir),
        c.given(dir), FALSE, wynk_fsys_set_dir, (dir))
CHECKED(kFsys, wyn_fsys_get_default_dir, (DIRECTORY* dir),
        c.given(dir), FALSE, wynk_fsys_get_default_dir, (dir))
MARKED(kFsys, wyn_fsys_save_dir, (), wynk_fsys_save_dir, ())
MARKED(kFsys, wyn_fsys_restore_dir, (), wynk_fsys_restore_dir, ())
MARKED(kFsys, wyn_fsys_set_dir_startup, (), wynk_fsys_set_dir_startup, ())
CHECKED(kFsys, wyn_fsys_convert_dir_to_str, (const DIRECTORY* dir, char* buf, long size),
        c.given(dir) && c.given(buf) && c.at_least(size, 1),
        FALSE, wynk_fsys_convert_dir_to_str, (dir, buf, size))
CHECKED(kFsys, wyn_fsys_convert_str_to_dir, (const char* path, DIRECTORY* dir),
        c.given(path) && c.given(dir), FALSE, wynk_fsys_convert_str_to_dir, (path, dir))
CHECKED(kFsys, wyn_fsys_file_makepath, (const FILE_SPEC* file_spec, char* path, long size),
        c.given(file_spec) && c.given(path) && c.at_least(size, 1),
        FALSE, wynk_fsys_file_makepath, (file_spec, path, size))
CHECKED(kFsys, wyn_fsys_file_exists, (const FILE_SPEC* file_spec),
        c.given(file_spec), FALSE, wynk_fsys_file_exists, (file_spec))
MARKED(kFsys, wyn_fsys_list_files, (const char* type, const char* pattern, BOOLEAN include_dirs),
       wynk_fsys_list_files, (type, pattern, include_dirs))
CHECKED(kFsys, wyn_fsys_rem_file, (const FILE_SPEC* file_spec),
        c.given(file_spec), FALSE, wynv_fsys_rem_file, (file_spec))
// clang-format on

BOOLEAN wyn_fsys_parse_pathname(const char* path, char* volume, char* directory, char* leaf,
                                char* extension, char* version) {
    Call c(__func__, kFsys);
    if (!c.given(path)) return FALSE;
    return wynk_fsys_parse_pathname(path, volume, directory, leaf, extension, version);
}

BOOLEAN wyn_fsys_build_pathname(char* path, long size, const char* volume, const char* directory,
                                const char* leaf, const char* extension, const char* version) {
    Call c(__func__, kFsys);
    if (!c.given(path) || !c.at_least(size, 1)) return FALSE;
    return wynk_fsys_build_pathname(path, size, volume, directory, leaf, extension, version);
}

long wyn_fsys_get_file_attr(const FILE_SPEC* file_spec, int attr) {
    Call c(__func__, kFsys);
    if (!c.given(file_spec)) return -1;
    // Whether the file exists, and the record's own fields, are answers for a missing file too.
    if (needs_file(attr) && !wynk_fsys_file_exists(file_spec))
        return c.fail_as(-1L, WYN_MSG_FIND_FILE);
    return wynv_fsys_get_file_attr(file_spec, attr);
}

BOOLEAN wyn_fsys_set_file_attr(FILE_SPEC* file_spec, int attr, long value) {
    Call c(__func__, kFsys);
    if (!c.given(file_spec)) return FALSE;
    if (needs_file(attr) && !wynk_fsys_file_exists(file_spec)) return c.fail(WYN_MSG_FIND_FILE);
    return wynv_fsys_set_file_attr(file_spec, attr, value);
}
