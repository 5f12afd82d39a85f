// Serial port I/O over POSIX termios: open with fixed line settings, status, read, write, close.
#pragma once

#include "engine/trace_sink.h"

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

// Parses a line-settings string (keys in any order and case, each exactly once, separated by
// blanks); false for anything it cannot parse or does not support: rates outside 1200..38400 of
// the rate table, parity other than N/E/O, data bits outside 5-8, stop bits other than 1 or 2.
bool serial_parse_settings(const char* text, serial_settings& out);

// Device path of a port name: "COM1".."COM9" (the prefix in any case) is the file or symbolic link
// "COMn" in the current (program) directory when it exists, else /dev/ttyS<n-1>; any other name,
// a path starting with "/" included, is used as given.
std::string serial_resolve_port(const char* name);

// Every operation below reports what failed, with the error number, to the trace sink it is given
// (category TRACE_ERROR); a null sink hears nothing.

// Opens a port exclusively with the given settings; 0, or 2 with handle -1.
int SerialIO_Open(int* handle, const char* port, int rate, int data_bits, int parity,
                  int stop_bits, const trace_sink* trace = nullptr);

// Closes a port and sets the handle to -1; 0, or 2 when the close failed or the handle was bad.
int SerialIO_Close(int* handle, const trace_sink* trace = nullptr);

// Waiting-byte count and/or modem-line flags (either may be null); 0, or 2 when the count failed.
// A failed modem-line query clears the flags and still returns 0.
int SerialIO_GetStatus(int handle, uint16_t* waiting, uint8_t* modem_flags,
                       const trace_sink* trace = nullptr);

// Reads only the bytes already waiting, at most size; 0 with the count, or 2.
int SerialIO_Read(int handle, char* buffer, int size, int* count,
                  const trace_sink* trace = nullptr);

// Discards the bytes received and not yet read; 0, or 2 (traced) when the port refused.
int SerialIO_DiscardInput(int handle, const trace_sink* trace = nullptr);

// Writes the bytes in one write; 0 when all were written, else 2 with the count written.
// The port never blocks the caller: what the output queue cannot take now is not written.
int SerialIO_Write(int handle, const char* bytes, int length, int* written,
                   const trace_sink* trace = nullptr);

// True when an open handle no longer reaches its device (hung up, unplugged, in error, or not an
// open descriptor), so the caller should close it and open the port again; false for -1.
bool serial_device_gone(int handle);

// From now on SerialIO_Open refuses, before opening, any device under /dev that is not a
// pseudo-terminal (links followed); tests call it first so no port name reaches real hardware.
void forbid_real_serial_ports();

// How many opens forbid_real_serial_ports has refused.
int real_serial_port_refusals();
