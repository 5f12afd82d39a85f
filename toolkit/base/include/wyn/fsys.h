/* File specifications, directories and file-system helpers; the path separator is "/" and the
   file-system root stands for the drive roots. */
#pragma once

#include <wyn/slist.h>
#include <wyn/types.h>

WYN_BEGIN_C

/* Longest path or file name, in bytes without the terminator. */
#define WYN_SZ_FNAME 256
/* Longest file type and creator, in bytes without the terminator. */
#define WYN_SZ_FTYPE 5

/* A directory: its path text. */
typedef struct s_directory {
    char path[WYN_SZ_FNAME + 1];
} DIRECTORY;

/* A file: its directory, type (the extension), name and creator. */
typedef struct s_file_spec {
    DIRECTORY dir;
    char type[WYN_SZ_FTYPE + 1];
    char name[WYN_SZ_FNAME + 1];
    char creator[WYN_SZ_FTYPE + 1];
} FILE_SPEC;

/* Data word of the entries listed by wynk_fsys_list_files. */
#define WYN_FSYS_ENTRY_FILE 0
#define WYN_FSYS_ENTRY_DIR 1
#define WYN_FSYS_ENTRY_ROOT 2

/* Attributes of wynv_fsys_get_file_attr and wynv_fsys_set_file_attr. */
#define WYN_FATTR_EXISTS 1     /* TRUE when the file exists */
#define WYN_FATTR_READABLE 2   /* TRUE when readable (settable: owner's read permission) */
#define WYN_FATTR_WRITABLE 3   /* TRUE when writable (settable: owner's write permission) */
#define WYN_FATTR_IS_DIR 4     /* TRUE when a directory */
#define WYN_FATTR_SIZE 5       /* size in bytes */
#define WYN_FATTR_MODIFIED 6   /* time of last modification (seconds since 1970) */
#define WYN_FATTR_ACCESSED 7   /* time of last access */
#define WYN_FATTR_CHANGED 8    /* time of last status change */
#define WYN_FATTR_IS_REGULAR 9 /* TRUE when a regular file */
#define WYN_FATTR_MODE 10      /* permission bits */
#define WYN_FATTR_CREATOR 11   /* the creator field (a char* in the long) */
#define WYN_FATTR_DIR_TEXT 12  /* the directory path (a char* in the long) */
#define WYN_FATTR_NAME 13      /* the file name (a char* in the long) */
#define WYN_FATTR_TYPE 14      /* the file type (a char* in the long) */

/* The current directory into *dir; FALSE when its path is too long. */
WYN_EXPORT BOOLEAN wynk_fsys_get_dir(DIRECTORY* dir);
/* Makes dir the current directory; FALSE when it cannot be entered. */
WYN_EXPORT BOOLEAN wynk_fsys_set_dir(const DIRECTORY* dir);
/* The directory relative names are taken from (the current directory). */
WYN_EXPORT BOOLEAN wynk_fsys_get_default_dir(DIRECTORY* dir);
/* Pushes the current directory (up to 8 deep); FALSE when full or unreadable. */
WYN_EXPORT BOOLEAN wynk_fsys_save_dir(void);
/* Returns to the directory of the matching save; FALSE when none is saved. */
WYN_EXPORT BOOLEAN wynk_fsys_restore_dir(void);
/* Returns to the directory that was current when the library was loaded. */
WYN_EXPORT BOOLEAN wynk_fsys_set_dir_startup(void);
/* Copies dir's path into buf of size bytes; FALSE when it does not fit. */
WYN_EXPORT BOOLEAN wynk_fsys_convert_dir_to_str(const DIRECTORY* dir, char* buf, long size);
/* Makes an absolute, normalised directory of path (relative to the current directory). */
WYN_EXPORT BOOLEAN wynk_fsys_convert_str_to_dir(const char* path, DIRECTORY* dir);
/* Splits path into volume (always empty), directory (with its final "/"), leaf, extension
   (without its dot) and version (always empty); each output is null or WYN_SZ_FNAME + 1 bytes. */
WYN_EXPORT BOOLEAN wynk_fsys_parse_pathname(const char* path, char* volume, char* directory,
                                            char* leaf, char* extension, char* version);
/* Joins directory, leaf and extension into path of size bytes (volume and version have no
   meaning here); FALSE when the result does not fit or reaches WYN_SZ_FNAME bytes. */
WYN_EXPORT BOOLEAN wynk_fsys_build_pathname(char* path, long size, const char* volume,
                                            const char* directory, const char* leaf,
                                            const char* extension, const char* version);
/* The full path of file_spec (its name alone when its directory is empty) into path of size bytes;
   FALSE when it reaches WYN_SZ_FNAME bytes or does not fit. */
WYN_EXPORT BOOLEAN wynk_fsys_file_makepath(const FILE_SPEC* file_spec, char* path, long size);
/* TRUE when the file of file_spec exists. */
WYN_EXPORT BOOLEAN wynk_fsys_file_exists(const FILE_SPEC* file_spec);
/* The names in the current directory whose extension is type (any when null, empty or "*") and
   that match pattern (any when null), with the directories and the root when include_dirs,
   sorted without regard to case; the data words are WYN_FSYS_ENTRY_ values. */
WYN_EXPORT SLIST wynk_fsys_list_files(const char* type, const char* pattern, BOOLEAN include_dirs);
/* The attribute of file_spec (see WYN_FATTR_); -1 when the file cannot be named or queried. */
WYN_EXPORT long wynv_fsys_get_file_attr(const FILE_SPEC* file_spec, int attr);
/* Sets a settable attribute (readable, writable, or a text field from a char* value). */
WYN_EXPORT BOOLEAN wynv_fsys_set_file_attr(FILE_SPEC* file_spec, int attr, long value);
/* Deletes the file of file_spec. */
WYN_EXPORT BOOLEAN wynv_fsys_rem_file(const FILE_SPEC* file_spec);

WYN_END_C
