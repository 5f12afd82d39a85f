// The program's main routine and the directory it lives in.
#pragma once

#include <string>

// The directory holding the program: that of argv0 when it names a path, else that of the running
// executable; "." when neither is known.
std::string program_directory(const char* argv0);

// Makes the program's directory current, sets the toolkit attributes and runs the application
// until it quits; returns 0.
int voltsentry_main(int argc, char** argv, const std::string& directory);
