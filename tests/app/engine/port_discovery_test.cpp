// Finding the UPS's port by its hardware id in fake device trees: by serial number and by vendor
// and product, in walk order, exactly, and never through links or into a field too small.
#include "engine/port_discovery.h"
#include "model/ups_status.h"

#include "common/device_tree.h"
#include "common/scoped_env.h"
#include "recording_trace.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

// A trace that keeps the port search's error lines.
struct search_trace {
    search_trace() { sink.level = TRACE_ERROR; }
    bool saw(const std::string& part) const { return text().find(part) != std::string::npos; }
    std::string text() const {
        std::string all;
        for (const std::string& line : sink.lines) all += line + "\n";
        return all;
    }
    recording_trace sink;
};

constexpr char kHub[] = "pci0000:00/0000:00:14.0/usb1";

class port_discovery : public ::testing::Test {
  protected:
    std::optional<std::string> find(const char* id) const { return find_port_in(tree.root(), id); }

    fake_device_tree tree;
};

TEST_F(port_discovery, finds_the_port_by_serial_number_or_by_vendor_and_product) {
    tree.value(std::string(kHub) + "/idVendor", "1d6b");
    tree.value(std::string(kHub) + "/idProduct", "0002");
    tree.value(std::string(kHub) + "/serial", "0000:00:14.0");
    tree.usb_device(std::string(kHub) + "/1-1", "0403", "6001", "QRW0001", "ttyUSB0");
    tree.usb_device(std::string(kHub) + "/1-2", "10c4", "ea60", "", "ttyACM3", true);
    tree.dir("platform/serial8250/tty/ttyS0");

    EXPECT_EQ(find("QRW0001"), "/dev/ttyUSB0");
    EXPECT_EQ(find("04036001"), "/dev/ttyUSB0");
    // The modem-class layout's "tty" class directory is no port; the entry in it is.
    EXPECT_EQ(find("10c4ea60"), "/dev/ttyACM3");
}

TEST_F(port_discovery, compares_exactly_and_finds_nothing_else) {
    tree.usb_device("usb1/1-1", "10c4", "ea60", "QRW0001", "ttyUSB0");
    for (const char* id : {"qrw0001", "QRW000", "QRW00011", "10C4EA60", "10c4", "ea6010c4", ""})
        EXPECT_EQ(find(id), std::nullopt) << id;
    EXPECT_EQ(find(nullptr), std::nullopt);
    // A device whose serial file is empty is never found by an empty id.
    tree.usb_device("usb1/1-2", "1234", "5678", "", "ttyUSB1");
    tree.value("usb1/1-2/serial", "");
    EXPECT_EQ(find(""), std::nullopt);
}

TEST_F(port_discovery, the_first_match_in_depth_first_name_order_wins) {
    // "1-10" sorts before "1-9"; a device deep in an earlier branch comes before a later branch.
    tree.usb_device("usb1/1-9", "0403", "6001", "", "ttyUSB2");
    tree.usb_device("usb1/1-10", "0403", "6001", "", "ttyUSB7");
    EXPECT_EQ(find("04036001"), "/dev/ttyUSB7");
    tree.usb_device("usb1/1-1/1-1.4/1-1.4.2", "0403", "6001", "", "ttyUSB9");
    EXPECT_EQ(find("04036001"), "/dev/ttyUSB9");
    // The port is the first one below the match: a second interface's comes after.
    tree.dir("usb1/1-1/1-1.4/1-1.4.2/1-1.4.2:1.1/ttyUSB10/tty/ttyUSB10");
    EXPECT_EQ(find("04036001"), "/dev/ttyUSB9");
}

TEST_F(port_discovery, a_matching_device_without_a_port_is_not_found) {
    // The walk stops at the first match, as the configuration manager's did.
    tree.usb_device("usb1/1-1", "0403", "6001", "", "ttyUSB0");
    std::filesystem::remove_all(tree.path("usb1/1-1/1-1:1.0"));
    tree.usb_device("usb1/1-2", "0403", "6001", "", "ttyUSB1");
    search_trace trace;
    EXPECT_EQ(find_port_in(tree.root(), "04036001", &trace.sink), std::nullopt);
    EXPECT_TRUE(trace.saw("has no serial port")) << trace.text();
}

TEST_F(port_discovery, links_are_not_followed) {
    fake_device_tree elsewhere;
    elsewhere.usb_device("usb9/9-1", "0403", "6001", "QRW0001", "ttyUSB5");
    tree.dir("usb1");
    std::filesystem::create_directory_symlink(elsewhere.path("usb9"), tree.path("usb1/link"));
    // A link back up the tree would make the walk endless if it were followed.
    std::filesystem::create_directory_symlink(tree.root(), tree.path("usb1/loop"));
    EXPECT_EQ(find("QRW0001"), std::nullopt);
}

TEST_F(port_discovery, find_port_reads_the_root_from_the_environment_and_keeps_paths_whole) {
    const std::string tty = "ttyUSB_" + std::string(60, 'x');
    tree.usb_device("usb1/1-1", "0403", "6001", "QRW0001", tty);
    const scoped_env root("VOLTSENTRY_SYSFS_ROOT", tree.root());
    EXPECT_EQ(device_tree_root(), tree.root());

    char port[PORT_NAME_SIZE] = "COM1";
    ASSERT_TRUE(find_port("QRW0001", port, sizeof port));
    EXPECT_EQ(std::string(port), "/dev/" + tty);

    // A port name that would not fit whole is not found, and the old name stays.
    char small[16] = "COM1";
    search_trace trace;
    EXPECT_FALSE(find_port("QRW0001", small, sizeof small, &trace.sink));
    EXPECT_STREQ(small, "COM1");
    EXPECT_TRUE(trace.saw("port name too long")) << trace.text();
}

TEST_F(port_discovery, a_missing_tree_finds_nothing_and_says_so) {
    const scoped_env root("VOLTSENTRY_SYSFS_ROOT", tree.path("absent"));
    search_trace trace;
    char port[32] = "COM2";
    EXPECT_FALSE(find_port("QRW0001", port, sizeof port, &trace.sink));
    EXPECT_STREQ(port, "COM2");
    EXPECT_TRUE(trace.saw("cannot read the device tree")) << trace.text();
    const scoped_env unset("VOLTSENTRY_SYSFS_ROOT", nullptr);
    EXPECT_EQ(device_tree_root(), "/sys/devices");
}

TEST_F(port_discovery, a_port_is_told_by_its_nearest_usb_device_and_an_id_that_finds_it) {
    tree.value("usb1/idVendor", "1d6b");
    tree.value("usb1/idProduct", "0002");
    tree.usb_device("usb1/1-1", "2341", "0043", "QRW0001", "ttyACM0", true);
    tree.usb_device("usb1/1-2", "0403", "6001", "A9XYZ12345", "ttyUSB0");
    tree.usb_device("usb1/1-3", "0403", "6001", "B7", "ttyUSB1");
    tree.usb_device("usb1/1-4", "0403", "6001", "C8QRSTUVWX", "ttyUSB2");
    tree.dir("platform/serial8250/tty/ttyS0");

    // The adapter's ids, not those of the hub above it; a root given with a slash is the same.
    const auto usb = usb_ids_of_tty(tree.root() + "/", "ttyUSB0");
    ASSERT_TRUE(usb);
    EXPECT_EQ(usb->serial, "A9XYZ12345");
    EXPECT_EQ(usb->vendor_product, "04036001");
    for (const char* none : {"ttyS0", "ttyUSB4", "usb1"})
        EXPECT_EQ(usb_ids_of_tty(tree.root(), none), std::nullopt) << none;

    EXPECT_EQ(hardware_id_of_tty(tree.root(), "ttyACM0"), "QRW0001");
    // A serial number too long for the option: vendor and product find the first such adapter.
    EXPECT_EQ(hardware_id_of_tty(tree.root(), "ttyUSB0"), "04036001");
    EXPECT_EQ(hardware_id_of_tty(tree.root(), "ttyUSB1"), "B7");
    // An identical adapter comes first, and its own serial number is too long to tell it apart.
    EXPECT_EQ(hardware_id_of_tty(tree.root(), "ttyUSB2"), std::nullopt);
    EXPECT_EQ(hardware_id_of_tty(tree.root(), "ttyS0"), std::nullopt);
}

} // namespace
