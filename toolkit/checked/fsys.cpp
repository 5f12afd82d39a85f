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

BOOLEAN wyn_fsys_get_dir(DIRECTORY* dir) {
    Call c(__func__, kFsys);
    if (!c.given(dir)) return FALSE;
    return wynk_fsys_get_dir(dir);
}

BOOLEAN wyn_fsys_set_dir(const DIRECTORY* dir) {
    Call c(__func__, kFsys);
    if (!c.given(dir)) return FALSE;
    return wynk_fsys_set_dir(dir);
}

BOOLEAN wyn_fsys_get_default_dir(DIRECTORY* dir) {
    Call c(__func__, kFsys);
    if (!c.given(dir)) return FALSE;
    return wynk_fsys_get_default_dir(dir);
}

BOOLEAN wyn_fsys_save_dir(void) {
    Call c(__func__, kFsys);
    return wynk_fsys_save_dir();
}

BOOLEAN wyn_fsys_restore_dir(void) {
    Call c(__func__, kFsys);
    return wynk_fsys_restore_dir();
}

BOOLEAN wyn_fsys_set_dir_startup(void) {
    Call c(__func__, kFsys);
    return wynk_fsys_set_dir_startup();
}

BOOLEAN wyn_fsys_convert_dir_to_str(const DIRECTORY* dir, char* buf, long size) {
    Call c(__func__, kFsys);
    if (!c.given(dir) || !c.given(buf) || !c.at_least(size, 1)) return FALSE;
    return wynk_fsys_convert_dir_to_str(dir, buf, size);
}

BOOLEAN wyn_fsys_convert_str_to_dir(const char* path, DIRECTORY* dir) {
    Call c(__func__, kFsys);
    if (!c.given(path) || !c.given(dir)) return FALSE;
    return wynk_fsys_convert_str_to_dir(path, dir);
}

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

BOOLEAN wyn_fsys_file_makepath(const FILE_SPEC* file_spec, char* path, long size) {
    Call c(__func__, kFsys);
    if (!c.given(file_spec) || !c.given(path) || !c.at_least(size, 1)) return FALSE;
    return wynk_fsys_file_makepath(file_spec, path, size);
}

BOOLEAN wyn_fsys_file_exists(const FILE_SPEC* file_spec) {
    Call c(__func__, kFsys);
    if (!c.given(file_spec)) return FALSE;
    return wynk_fsys_file_exists(file_spec);
}

SLIST wyn_fsys_list_files(const char* type, const char* pattern, BOOLEAN include_dirs) {
    Call c(__func__, kFsys);
    return wynk_fsys_list_files(type, pattern, include_dirs);
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

BOOLEAN wyn_fsys_rem_file(const FILE_SPEC* file_spec) {
    Call c(__func__, kFsys);
    if (!c.given(file_spec)) return FALSE;
    return wynv_fsys_rem_file(file_spec);
}
