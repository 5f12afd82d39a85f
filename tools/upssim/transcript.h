// The conversation log: every command received, every reply sent and every state change, a line
// each, with the bytes that are not plain text written as escapes.
#pragma once

#include <cstdio>
#include <string>

// Writes bytes as text: CR as <CR>, LF as <LF>, '<' and any byte outside 0x20-0x7E as <XX>.
std::string escape_bytes(const std::string& bytes);

class transcript {
  public:
    // Writes to standard error.
    transcript();
    ~transcript();
    transcript(const transcript&) = delete;
    transcript& operator=(const transcript&) = delete;

    // Writes to a file instead (created or emptied); false with the reason.
    bool open(const std::string& path, std::string& error);

    // "> " and the command received, CR included.
    void command(const std::string& bytes) { line('>', escape_bytes(bytes)); }
    // "< " and the reply sent.
    void reply(const std::string& bytes) { line('<', escape_bytes(bytes)); }
    // "# " and a note on the simulator's state.
    void note(const std::string& text) { line('#', text); }

  private:
    void line(char mark, const std::string& text);
    FILE* file_ = stderr;
};
