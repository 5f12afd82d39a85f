// A stand-in for the machine's sysfs device tree, built in a fresh directory for a test.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class fake_device_tree {
  public:
    fake_device_tree() {
        char pattern[] = "/tmp/device_tree.XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        root_ = pattern;
    }
    ~fake_device_tree() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    fake_device_tree(const fake_device_tree&) = delete;
    fake_device_tree& operator=(const fake_device_tree&) = delete;

    const std::string& root() const { return root_; }
    std::string path(const std::string& relative) const { return root_ + "/" + relative; }

    // Makes a directory below the root, with the ones above it.
    void dir(const std::string& relative) const {
        std::filesystem::create_directories(path(relative));
    }

    // Writes a value file ending in a line feed, as sysfs shows them.
    void value(const std::string& relative, const std::string& text) const {
        std::filesystem::create_directories(std::filesystem::path(path(relative)).parent_path());
        std::ofstream(path(relative)) << text << '\n';
    }

    // A USB device at relative with its ids (no serial file when serial is empty) and a serial
    // port named tty below its first interface: as a USB serial converter lays it out
    // (<interface>/ttyUSB0/tty/ttyUSB0), or as a modem-class device does (<interface>/tty/ttyACM0).
    void usb_device(const std::string& relative, const std::string& vendor,
                    const std::string& product, const std::string& serial, const std::string& tty,
                    bool modem_class = false) const {
        value(relative + "/idVendor", vendor);
        value(relative + "/idProduct", product);
        if (!serial.empty()) value(relative + "/serial", serial);
        const std::string interface = relative + "/" + base_name(relative) + ":1.0";
        value(interface + "/bInterfaceClass", modem_class ? "02" : "ff");
        dir(modem_class ? interface + "/tty/" + tty : interface + "/" + tty + "/tty/" + tty);
    }

  private:
    static std::string base_name(const std::string& relative) {
        return relative.substr(relative.rfind('/') + 1);
    }

    std::string root_;
};
