// Windows text files on a POSIX file system: lines end in CR LF on disk and in LF in memory.
#pragma once

#include "support/unique_fd.h"

#include <cstddef>
#include <string>
#include <string_view>

// Reads a text file with CR LF turned into LF; a lone CR stays as it is.
class text_reader {
  public:
    // Opens the file for reading; is_open() tells whether that worked, error() why not. Only a
    // regular file is read: anything else (a FIFO, a device, a directory) is refused without
    // waiting on it, with not_regular() true and error() EINVAL.
    explicit text_reader(const char* path);

    bool is_open() const { return static_cast<bool>(fd_); }
    int error() const { return error_; }
    bool not_regular() const { return not_regular_; }

    // Reads up to max bytes of the current line, stopping after its line feed; false at the end.
    bool read_piece(std::string& out, std::size_t max);

    // Reads one whole line but keeps only its first max bytes; false at the end of the file.
    bool read_line(std::string& out, std::size_t max);

    // Goes back to the start of the file; false when the file cannot be rewound.
    bool rewind();

  private:
    int next(); // next translated byte, or -1 at the end
    int raw();  // next byte from the buffer, or -1 at the end
    bool fill();

    unique_fd fd_;
    int error_ = 0;
    bool not_regular_ = false;
    char buffer_[65536];
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
};

// Translates LF into CR LF.
std::string to_crlf(std::string_view text);

// Writes all of data to fd; false on any error or a short write (errno tells why).
bool write_all(int fd, std::string_view data);

// Appends text (LF turned into CR LF) in one write; a failed or short write is undone, so the
// file never ends in a partial line. With a record size, a file whose size is not a whole number
// of records (a damaged tail) is first completed to the next record boundary, in the same write,
// so that the text starts on a boundary. 0, or 2 with errno set.
int append_text(const char* path, std::string_view text, std::size_t record_size = 0);

// Told of each directory synced after a rename (tests watch the order of rename and sync).
using directory_sync_observer = void (*)(const char* directory);

// Writes a whole file as a temporary file beside it and renames it over the target on commit, so
// the target is either the old file or the complete new one.
class atomic_text_file {
  public:
    // Creates the temporary file exclusively under a name no other file has (an existing file or
    // link of that name is never opened), with exactly the permission bits mode, or when mode is
    // -1 with 0666 less the umask; is_open() tells whether it was created, error() what failed.
    explicit atomic_text_file(const char* path, int mode = -1);
    // Removes the temporary file unless it was committed.
    ~atomic_text_file();
    atomic_text_file(const atomic_text_file&) = delete;
    atomic_text_file& operator=(const atomic_text_file&) = delete;

    bool is_open() const { return static_cast<bool>(fd_); }
    int error() const { return error_; }

    // Queues text (LF turned into CR LF); errors show at commit.
    void write(std::string_view text);

    // Flushes and renames over the target; durable, it also syncs the file before the rename and
    // the directory after it. 0, or 2: the target is then untouched, except when only the
    // directory sync failed (the new file is in place, but may not survive a power loss).
    // observer, when given, is told of the directory synced.
    int commit(bool durable, directory_sync_observer observer = nullptr);

    // The two halves of commit, for callers that must act between them: flush, optionally sync,
    // and close the temporary file; then rename it over the target (and sync the directory when
    // prepared durable). Each 0, or 2.
    int prepare(bool durable);
    int publish(directory_sync_observer observer = nullptr);

    // Name of the temporary file for a target at the given attempt (0 first; the next attempt is
    // taken when a file of that name exists).
    static std::string temporary_name(const char* path, int attempt);

  private:
    bool flush();

    std::string path_;
    std::string temp_;
    unique_fd fd_;
    std::string pending_;
    int error_ = 0;
    bool created_ = false; // the temporary file exists and is still ours to remove
    bool durable_ = false;
};

// Syncs the directory that holds path, so that a rename in it survives a power loss; 0, or 2
// with errno set. A file system that cannot sync directories counts as done. observer, when
// given, is told of the directory once it is synced.
int sync_directory_of(const char* path, directory_sync_observer observer = nullptr);

// Rewrites a whole file through a temporary file, synced to disk, the rename then synced in its
// directory. A symbolic link is kept and the file it leads to is replaced, keeping its
// permissions. A read-only target (no write permission bit, or not writable by this process) is
// refused like a plain open for writing would refuse it. 0, or 2 with errno telling why (the old
// file untouched, but for a failed directory sync, see commit). observer as for commit.
int rewrite_text_file(const char* path, std::string_view text,
                      directory_sync_observer observer = nullptr);
