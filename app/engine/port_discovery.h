// Finds the serial port a UPS sits on by its hardware id, in the machine's device tree (sysfs).
#pragma once

#include "engine/trace_sink.h"

#include <cstddef>
#include <optional>
#include <string>

// The device tree's root: the environment variable VOLTSENTRY_SYSFS_ROOT when it is set and not
// empty (tests give a tree of their own), else /sys/devices.
std::string device_tree_root();

// Walks the tree under root depth first (children in name order, symbolic links not followed) to
// the first node whose USB serial number ("serial"), or whose vendor and product ids written
// together ("idVendor" then "idProduct", such as 04036001), equals hardware_id exactly; its port
// is the first entry named tty<something> below it, as the device path /dev/<name>. Nothing when
// the id is empty, no node matches, or the first match has no such entry. What cannot be read is
// traced to trace (category TRACE_ERROR) and counts as absent.
std::optional<std::string> find_port_in(const std::string& root, const char* hardware_id,
                                        const trace_sink* trace = nullptr);

// find_port_in on device_tree_root(); true with the device path in port (size bytes, NUL
// included) when found. A path that would not fit whole counts as not found, and port is then
// left as it was.
bool find_port(const char* hardware_id, char* port, std::size_t size,
               const trace_sink* trace = nullptr);

// What the device tree says about the USB device a serial device belongs to.
struct usb_port_ids {
    std::string serial;         // "serial", empty when the device has none
    std::string vendor_product; // idVendor then idProduct
};

// The ids of the nearest USB device (a node with idVendor and idProduct) above the first entry
// named tty_name under root; nothing when there is no such entry or no USB device above it.
std::optional<usb_port_ids> usb_ids_of_tty(const std::string& root, const std::string& tty_name);

// The hardware id that makes find_port_in under root find the port named tty_name: the USB
// serial number when it has 1 to 8 characters, else the vendor and product ids; nothing when the
// port is on no USB device or neither id finds it first (an identical adapter comes before it).
std::optional<std::string> hardware_id_of_tty(const std::string& root, const std::string& tty_name);
