// The association file beside a help file: its reader and the sorted table it gives, searched by
// kind, object id and container id.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <wyn/errmsg.h>

namespace wynhelp {

// Kinds of a file entry; the first three equal the object classes of windows, dialogs and
// controls.
enum FileKind : int32_t { kFileWindow = 1, kFileDialog = 2, kFileControl = 3, kFileMenu = 4 };

// One line of the file: the object (a resource id, control id or menu tag), the window or dialog
// resource that holds it (0 for any) and its topic.
struct FileEntry {
    int32_t kind;
    int32_t object_id;
    int32_t container_id;
    int32_t topic;
};

// The file's entries sorted by object id, kind and container id.
struct FileTable {
    std::unique_ptr<FileEntry[]> entries;
    int32_t count = 0;
};

// What went wrong reading a file.
inline constexpr WYN_MSG_ID kMsgNoMemory = 0x510000;
inline constexpr WYN_MSG_ID kMsgShortLine = 0x597171;
inline constexpr WYN_MSG_ID kMsgUnknownKind = 0x597172;

// Reads the open file f from its start into table: lines starting "#" or "'" are comments, lines
// starting with white space are skipped, every other line is "kind object container topic" with
// kind one of W, D, C, M in either case. At most 99 bytes of a line are seen at a time (the rest
// reads as a line of its own). Returns 0, or the id of the first fault (a line without four
// fields or with a number beyond 32 bits, an unknown kind, no memory for the table), which leaves
// the table empty; *where then holds the bad line's number from 1, or for no memory the number
// of entries the table needed.
WYN_MSG_ID read_assoc_file(std::FILE* f, FileTable& table, int32_t* where);

// The topic of (kind, object id, container id): an exact entry; else, for a container other than
// 0, the entry for container 0; for container 0, any entry of that kind and object. 0 when none
// matches or the table is empty.
int32_t lookup_file_assoc(const FileTable& table, int32_t kind, int32_t object_id,
                          int32_t container_id);

} // namespace wynhelp
