// Serial port I/O over POSIX termios: open with fixed line settings, status, read, write, close.
#pragma once

#include <cstdint>
#include <string>

inline constexpr int SERIAL_INVALID = -1;

// Modem-line flag bits reported by SerialIO_GetStatus.
enum : uint8_t { MODEM_RING = 0x01, MODEM_CTS = 0x04, MODEM_CARRIER = 0x08 };

// Line settings parsed from "baud=%s parity=%s data=%1d stop=%1d".
struct serial_settings {
    int baud;
    char parity; // 'N', 'E' or 'O'
    int data_bits;
    int stop_bits;
};

// Parses a line-settings string; false for anything it cannot parse or does not support.
bool serial_parse_settings(const char* text, serial_settings& out);

// Device path of a port name: "COMn" is the file of that name in the current (program)
// directory when it exists, else /dev/ttyS<n-1>; a name starting with "/" is a path already.
std::string serial_resolve_port(const char* name);

// Opens a port exclusively with the given settings; 0, or 2 with handle -1.
int SerialIO_Open(int* handle, const char* port, int rate, int data_bits, int parity,
                  int stop_bits);

// Closes a port and sets the handle to -1; 0, or 2 when the close failed or the handle was bad.
int SerialIO_Close(int* handle);

// Waiting-byte count and/or modem-line flags (either may be null); 0, or 2 when the count failed.
// A failed modem-line query clears the flags and still returns 0.
int SerialIO_GetStatus(int handle, uint16_t* waiting, uint8_t* modem_flags);

// Reads only the bytes already waiting, at most size; 0 with the count, or 2.
int SerialIO_Read(int handle, char* buffer, int size, int* count);

// Writes the bytes in one write; 0 when all were written, else 2 with the count written.
int SerialIO_Write(int handle, const char* bytes, int length, int* written);
