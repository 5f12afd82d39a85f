// Accelerator tables become QShortcuts on a window's frame; each delivers its command through the
// window's menu path.
#include "kernel/accelerators.h"

#include <QShortcut>
#include <QWidget>

#include "kernel/menus.h"

namespace {

struct VirtualKey {
    uint16_t vk;
    Qt::Key key;
};

constexpr VirtualKey kVirtualKeys[] = {
    {0x08, Qt::Key_Backspace}, {0x09, Qt::Key_Tab},    {0x0D, Qt::Key_Return},
    {0x1B, Qt::Key_Escape},    {0x20, Qt::Key_Space},  {0x21, Qt::Key_PageUp},
    {0x22, Qt::Key_PageDown},  {0x23, Qt::Key_End},    {0x24, Qt::Key_Home},
    {0x25, Qt::Key_Left},      {0x26, Qt::Key_Up},     {0x27, Qt::Key_Right},
    {0x28, Qt::Key_Down},      {0x2D, Qt::Key_Insert}, {0x2E, Qt::Key_Delete},
};

int qt_key_of(uint16_t vk) {
    if (vk >= 'A' && vk <= 'Z') return Qt::Key_A + (vk - 'A');
    if (vk >= '0' && vk <= '9') return Qt::Key_0 + (vk - '0');
    if (vk >= 0x70 && vk <= 0x87) return Qt::Key_F1 + (vk - 0x70);
    for (const VirtualKey& k : kVirtualKeys)
        if (k.vk == vk) return k.key;
    return 0;
}

} // namespace

QKeySequence accelerators_key_sequence(const WYN_RES_ACCEL& entry) {
    int key = 0;
    if (entry.flags & ACC_VIRTKEY) {
        key = qt_key_of(entry.key);
    } else if (entry.key >= 0x20 && entry.key < 0x7F) {
        // A character key: its upper case is the key that types it.
        key = QChar(entry.key).toUpper().unicode();
    }
    if (key == 0) return {};
    Qt::KeyboardModifiers mods;
    if (entry.flags & ACC_SHIFT) mods |= Qt::ShiftModifier;
    if (entry.flags & ACC_CONTROL) mods |= Qt::ControlModifier;
    if (entry.flags & ACC_ALT) mods |= Qt::AltModifier;
    return QKeySequence(QKeyCombination(mods, static_cast<Qt::Key>(key)));
}

int accelerators_install(WINDOW win, QWidget* frame, int32_t id) {
    const WYN_RES_ACCEL_TABLE* table = wynv_res_find_accel_table(id);
    if (!table || !frame) return 0;
    int installed = 0;
    for (uint16_t i = 0; i < table->count; ++i) {
        const WYN_RES_ACCEL& entry = table->entries[i];
        const QKeySequence keys = accelerators_key_sequence(entry);
        if (keys.isEmpty()) continue;
        auto* shortcut = new QShortcut(keys, frame);
        shortcut->setContext(Qt::WindowShortcut);
        const auto tag = static_cast<int16_t>(entry.cmd);
        QObject::connect(shortcut, &QShortcut::activated, frame,
                         [win, tag] { menus_command(win, tag); });
        ++installed;
    }
    return installed;
}
