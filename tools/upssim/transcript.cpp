// Writing the conversation log line by line, flushed so a reader sees each line at once.
#include "transcript.h"

#include <cerrno>
#include <cstring>

std::string escape_bytes(const std::string& bytes) {
    std::string out;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\r')
            out += "<CR>";
        else if (byte == '\n')
            out += "<LF>";
        else if (byte == '<' || byte < 0x20 || byte > 0x7E) {
            char escape[8];
            snprintf(escape, sizeof escape, "<%02X>", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out;
}

transcript::transcript() = default;

transcript::~transcript() {
    if (file_ != stderr) fclose(file_);
}

bool transcript::open(const std::string& path, std::string& error) {
    FILE* file = fopen(path.c_str(), "w");
    if (!file) {
        error = path + ": " + strerror(errno);
        return false;
    }
    if (file_ != stderr) fclose(file_);
    file_ = file;
    return true;
}

void transcript::line(char mark, const std::string& text) {
    fprintf(file_, "%c %s\n", mark, text.c_str());
    fflush(file_);
}
