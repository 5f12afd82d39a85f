// The program's main routine and what it learns about the machine at start-up.
#pragma once

#include <string>

// The operating-system version, read once at start-up.
struct os_version_info {
    int platform_id; // 1 the consumer family of the original platform, any other the NT family
    char system[65];
    char release[65];
};

// The version read by voltsentry_main.
extern os_version_info g_os_version;

// The directory holding the program: that of argv0 when it names a path, else that of the running
// executable; "." when neither is known.
std::string program_directory(const char* argv0);

// Makes the program's directory current, reads the system version, sets the toolkit attributes
// and runs the application until it quits; returns 0.
int voltsentry_main(int argc, char** argv, const std::string& directory);
