// Finding the UPS's serial port in sysfs by a depth-first walk of the device tree.
#include "engine/port_discovery.h"

#include "model/ups_status.h"
#include "support/unique_fd.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

constexpr char kDefaultRoot[] = "/sys/devices";
// The tree's ids are short; a value longer than this never equals an id of eight characters.
constexpr std::size_t kValueMax = 128;

// One node of the tree, as one listing of its directory gives it: the names of its children in
// order and which of the id files it holds.
struct tree_node {
    std::string path;
    std::vector<std::string> children;
    bool has_serial = false;
    bool has_vendor = false;
    bool has_product = false;
};

struct dir_closer {
    void operator()(DIR* dir) const { closedir(dir); }
};

// A child is a real directory: sysfs links every device to its driver, class and subsystem, and
// following those links would walk the tree many times over.
bool is_directory(const std::string& parent, const dirent& entry) {
    if (entry.d_type != DT_UNKNOWN) return entry.d_type == DT_DIR;
    struct stat info {};
    return lstat((parent + "/" + entry.d_name).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A directory that cannot be read is a node without children or ids.
tree_node list_node(std::string path) {
    tree_node node;
    node.path = std::move(path);
    std::unique_ptr<DIR, dir_closer> dir(opendir(node.path.c_str()));
    if (!dir) return node;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (is_directory(node.path, *entry))
            node.children.emplace_back(name);
        else if (name == "serial")
            node.has_serial = true;
        else if (name == "idVendor")
            node.has_vendor = true;
        else if (name == "idProduct")
            node.has_product = true;
    }
    std::sort(node.children.begin(), node.children.end());
    return node;
}

// A value file's text without the line feed sysfs ends it with; nothing when it cannot be read.
std::optional<std::string> read_value(const std::string& path) {
    unique_fd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) return std::nullopt;
    char buffer[kValueMax];
    ssize_t n;
    do {
        n = read(fd.get(), buffer, sizeof buffer);
    } while (n < 0 && errno == EINTR);
    if (n < 0) return std::nullopt;
    std::string text(buffer, static_cast<std::size_t>(n));
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

std::optional<std::string> vendor_product(const std::string& path) {
    const auto vendor = read_value(path + "/idVendor");
    const auto product = read_value(path + "/idProduct");
    if (!vendor || !product) return std::nullopt;
    return *vendor + *product;
}

bool matches(const tree_node& node, std::string_view id) {
    if (node.has_serial && read_value(node.path + "/serial") == id) return true;
    return node.has_vendor && node.has_product && vendor_product(node.path) == id;
}

std::string_view base_name(std::string_view path) {
    return path.substr(path.rfind('/') + 1);
}

// "tty" alone is the class directory a cdc-acm port sits in, not a port.
bool is_tty_entry(std::string_view name) {
    return name.size() > 3 && name.starts_with("tty");
}

// Visits the nodes of the tree under root, root first, depth first with children in name order,
// until stop returns true; that node, or nothing once the tree is done. A node's next sibling is
// the next name in its parent's listing and its parent the directory above it, so the order is
// that of walking by first child, next sibling and parent.
template <class Stop> std::optional<tree_node> walk(const std::string& root, Stop stop) {
    tree_node first = list_node(root);
    if (stop(first)) return first;
    std::vector<std::pair<tree_node, std::size_t>> stack;
    stack.emplace_back(std::move(first), 0);
    while (!stack.empty()) {
        auto& [parent, next] = stack.back();
        if (next == parent.children.size()) {
            stack.pop_back();
            continue;
        }
        tree_node child = list_node(parent.path + "/" + parent.children[next++]);
        if (stop(child)) return child;
        stack.emplace_back(std::move(child), 0);
    }
    return std::nullopt;
}

// The first entry named tty<something> strictly below the node at path.
std::optional<std::string> first_tty_below(const std::string& path) {
    const auto tty = walk(path, [&](const tree_node& node) {
        return node.path != path && is_tty_entry(base_name(node.path));
    });
    if (!tty) return std::nullopt;
    return std::string(base_name(tty->path));
}

} // namespace

std::string device_tree_root() {
    const char* root = std::getenv("VOLTSENTRY_SYSFS_ROOT");
    return root && *root ? root : kDefaultRoot;
}

std::optional<std::string> find_port_in(const std::string& root, const char* hardware_id,
                                        const trace_sink* trace) {
    // An empty id would match every device whose serial number is empty.
    if (!hardware_id || !*hardware_id) return std::nullopt;
    struct stat info {};
    const int error = stat(root.c_str(), &info) != 0 ? errno : S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    if (error != 0) {
        tracef(trace, TRACE_ERROR, "FINDPORT: cannot read the device tree at %s: error %d.",
               root.c_str(), error);
        return std::nullopt;
    }
    const std::string_view id = hardware_id;
    const auto found = walk(root, [&](const tree_node& node) { return matches(node, id); });
    if (!found) return std::nullopt;
    const auto tty = first_tty_below(found->path);
    if (!tty) {
        tracef(trace, TRACE_ERROR, "FINDPORT: device %s with id %s has no serial port.",
               found->path.c_str(), hardware_id);
        return std::nullopt;
    }
    return "/dev/" + *tty;
}

bool find_port(const char* hardware_id, char* port, std::size_t size, const trace_sink* trace) {
    const auto found = find_port_in(device_tree_root(), hardware_id, trace);
    if (!found || !port) return false;
    // A port name cut short would open some other device, or none.
    if (found->size() >= size) {
        tracef(trace, TRACE_ERROR, "FINDPORT: port name too long: %s.", found->c_str());
        return false;
    }
    std::memcpy(port, found->c_str(), found->size() + 1);
    return true;
}

std::optional<usb_port_ids> usb_ids_of_tty(const std::string& given_root,
                                           const std::string& tty_name) {
    if (!is_tty_entry(tty_name)) return std::nullopt;
    std::string root = given_root;
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    const auto tty = walk(root, [&](const tree_node& node) {
        return base_name(node.path) == tty_name && node.path != root;
    });
    if (!tty) return std::nullopt;
    // Up through the parents as far as the root, to the nearest USB device; a path below the
    // root always has a separator after it.
    for (std::string path = tty->path; path.size() > root.size();) {
        path.erase(path.rfind('/'));
        if (const auto ids = vendor_product(path))
            return usb_port_ids{read_value(path + "/serial").value_or(""), *ids};
    }
    return std::nullopt;
}

std::optional<std::string> hardware_id_of_tty(const std::string& root,
                                              const std::string& tty_name) {
    const auto ids = usb_ids_of_tty(root, tty_name);
    if (!ids) return std::nullopt;
    // The longest id the /PNP: option keeps.
    constexpr std::size_t kIdMax = sizeof(ups_status::hardware_id) - 1;
    for (const std::string& id : {ids->serial, ids->vendor_product}) {
        if (id.empty() || id.size() > kIdMax) continue;
        if (find_port_in(root, id.c_str()) == "/dev/" + tty_name) return id;
    }
    return std::nullopt;
}
