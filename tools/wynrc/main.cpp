// wynrc: compiles resource scripts into the toolkit's resource database, a C++ source that carries
// it, and a header of the names the scripts give their ids.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "codegen.h"
#include "dbwriter.h"
#include "script.h"

namespace {

const char kUsage[] =
    "usage: wynrc [-o SOURCE.cpp] [--db FILE] [--ids HEADER.h] [--symbol NAME] [--no-install] "
    "SCRIPT...\n"
    "  -o SOURCE.cpp   write the C++ source carrying the resources\n"
    "  --db FILE       write the compiled resource database as a file\n"
    "  --ids HEADER.h  write the header of the names the scripts #define\n"
    "  --symbol NAME   name of the accessor function in the source (default "
    "wyn_program_resources)\n"
    "  --no-install    do not register the resources with the toolkit before main\n";

// Writes a whole file through a temporary beside it, so a failed build never leaves half an output.
bool write_file(const std::string& path, const void* data, size_t size) {
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(static_cast<const char*>(data), std::streamsize(size));
        if (!out.flush()) {
            std::remove(temp.c_str());
            return false;
        }
    }
    return std::rename(temp.c_str(), path.c_str()) == 0;
}

// A header is left alone when its text stays the same, so that the sources including it are not
// rebuilt for every change to a dialog's layout.
bool update_file(const std::string& path, const std::string& text) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream old;
    if (in && (old << in.rdbuf()) && old.str() == text) return true;
    return write_file(path, text.data(), text.size());
}

} // namespace

int main(int argc, char** argv) {
    std::string source_path;
    std::string db_path;
    std::string ids_path;
    wynrc::CodegenOptions options;
    std::vector<std::string> scripts;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool has_value = i + 1 < argc;
        if (arg == "-o" && has_value) {
            source_path = argv[++i];
        } else if (arg == "--db" && has_value) {
            db_path = argv[++i];
        } else if (arg == "--ids" && has_value) {
            ids_path = argv[++i];
        } else if (arg == "--symbol" && has_value) {
            options.symbol = argv[++i];
        } else if (arg == "--no-install") {
            options.install = false;
        } else if (arg == "-h" || arg == "--help") {
            std::cout << kUsage;
            return 0;
        } else if (!arg.empty() && arg[0] == '-') {
            std::cerr << "wynrc: unknown option " << arg << "\n" << kUsage;
            return 2;
        } else {
            scripts.push_back(arg);
        }
    }
    if (scripts.empty() || (source_path.empty() && db_path.empty() && ids_path.empty())) {
        std::cerr << kUsage;
        return 2;
    }

    wynrc::Script script;
    wynrc::ScriptError error;
    for (const std::string& path : scripts) {
        if (!wynrc::parse_script_file(path, script, error)) {
            std::cerr << error.text() << "\n";
            return 1;
        }
    }
    if (!wynrc::check_script(script, error)) {
        std::cerr << error.text() << "\n";
        return 1;
    }

    std::vector<uint8_t> db;
    try {
        db = wynrc::build_database(script);
    } catch (const std::length_error& e) {
        std::cerr << "wynrc: " << e.what() << "\n";
        return 1;
    }
    if (!db_path.empty() && !write_file(db_path, db.data(), db.size())) {
        std::cerr << "wynrc: cannot write " << db_path << ": " << std::strerror(errno) << "\n";
        return 1;
    }
    for (size_t i = 0; i < scripts.size(); ++i)
        options.origin += (i ? ", " : "") + scripts[i].substr(scripts[i].find_last_of('/') + 1);
    if (!source_path.empty()) {
        const std::string text = wynrc::generate_source(script, db, options);
        if (!write_file(source_path, text.data(), text.size())) {
            std::cerr << "wynrc: cannot write " << source_path << ": " << std::strerror(errno)
                      << "\n";
            return 1;
        }
    }
    if (!ids_path.empty() && !update_file(ids_path, wynrc::generate_ids(script, options.origin))) {
        std::cerr << "wynrc: cannot write " << ids_path << ": " << std::strerror(errno) << "\n";
        return 1;
    }
    return 0;
}
