// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/DesktopKeys.h"

#include "hotkey/SavedShortcut.h"

#include <array>
#include <xkbcommon/xkbcommon.h>

using namespace Qt::StringLiterals;

namespace tessel::desktop::DesktopKeys {

namespace {
// Qt 5's modifier bits, which KDE's shortcut service keeps in its stored combinations.
constexpr int kQtShift = 0x02000000;
constexpr int kQtControl = 0x04000000;
constexpr int kQtAlt = 0x08000000;
constexpr int kQtMeta = 0x10000000;

struct SpecialKey {
    quint32 keysym;
    int qtKey;
};

// The keys of the shortcut table that are not printable Latin-1 characters. The keypad's keys
// read as the main keys they type, as Qt numbers them.
constexpr std::array kSpecialKeys{
    SpecialKey{0xff08, 0x01000003}, SpecialKey{0xff09, 0x01000001}, SpecialKey{0xff0d, 0x01000004},
    SpecialKey{0xff1b, 0x01000000}, SpecialKey{0xff50, 0x01000010}, SpecialKey{0xff51, 0x01000012},
    SpecialKey{0xff52, 0x01000013}, SpecialKey{0xff53, 0x01000014}, SpecialKey{0xff54, 0x01000015},
    SpecialKey{0xff55, 0x01000016}, SpecialKey{0xff56, 0x01000017}, SpecialKey{0xff57, 0x01000011},
    SpecialKey{0xff6a, 0x01000058}, SpecialKey{0xff8d, 0x01000005}, SpecialKey{0xffff, 0x01000007},
};

int qtKeyFor(quint32 keysym)
{
    // Qt numbers a letter key by its capital.
    if (keysym >= 'a' && keysym <= 'z')
        return int(keysym - 'a' + 'A');
    if (keysym >= 0x20 && keysym <= 0x7e)
        return int(keysym);
    // F1 to F35.
    if (keysym >= 0xffbe && keysym <= 0xffe0)
        return int(0x01000030 + (keysym - 0xffbe));
    for (const SpecialKey& key : kSpecialKeys) {
        if (key.keysym == keysym)
            return key.qtKey;
    }
    return 0;
}

quint32 keysymFor(int qtKey)
{
    if (qtKey >= 'A' && qtKey <= 'Z')
        return quint32(qtKey - 'A' + 'a');
    if (qtKey >= 0x20 && qtKey <= 0x7e)
        return quint32(qtKey);
    if (qtKey >= 0x01000030 && qtKey <= 0x01000052)
        return quint32(0xffbe + (qtKey - 0x01000030));
    for (const SpecialKey& key : kSpecialKeys) {
        if (key.qtKey == qtKey)
            return key.keysym;
    }
    return 0;
}

QString keysymName(quint32 keysym)
{
    std::array<char, 64> name{};
    const int length = xkb_keysym_get_name(keysym, name.data(), name.size());
    return length > 0 ? QString::fromLatin1(name.data(), length) : QString();
}
} // namespace

int qtKeyCombination(quint32 keysym, quint32 modifiers)
{
    const int key = qtKeyFor(keysym);
    if (key == 0)
        return 0;
    int combination = key;
    if (modifiers & ShortcutModifier::command)
        combination |= kQtMeta;
    if (modifiers & ShortcutModifier::shift)
        combination |= kQtShift;
    if (modifiers & ShortcutModifier::option)
        combination |= kQtAlt;
    if (modifiers & ShortcutModifier::control)
        combination |= kQtControl;
    return combination;
}

std::pair<quint32, quint32> fromQtKeyCombination(int combination)
{
    quint32 modifiers = 0;
    if (combination & kQtMeta)
        modifiers |= ShortcutModifier::command;
    if (combination & kQtShift)
        modifiers |= ShortcutModifier::shift;
    if (combination & kQtAlt)
        modifiers |= ShortcutModifier::option;
    if (combination & kQtControl)
        modifiers |= ShortcutModifier::control;
    return {keysymFor(combination & ~(kQtMeta | kQtShift | kQtAlt | kQtControl)), modifiers};
}

QString gnomeAccelerator(quint32 keysym, quint32 modifiers)
{
    const QString name = keysymName(keysym);
    if (name.isEmpty())
        return {};
    QString accelerator;
    if (modifiers & ShortcutModifier::command)
        accelerator += "<Super>"_L1;
    if (modifiers & ShortcutModifier::control)
        accelerator += "<Control>"_L1;
    if (modifiers & ShortcutModifier::option)
        accelerator += "<Alt>"_L1;
    if (modifiers & ShortcutModifier::shift)
        accelerator += "<Shift>"_L1;
    return accelerator + name;
}

QString portalTrigger(quint32 keysym, quint32 modifiers)
{
    const QString name = keysymName(keysym);
    if (name.isEmpty())
        return {};
    QStringList parts;
    if (modifiers & ShortcutModifier::control)
        parts << u"CTRL"_s;
    if (modifiers & ShortcutModifier::option)
        parts << u"ALT"_s;
    if (modifiers & ShortcutModifier::shift)
        parts << u"SHIFT"_s;
    if (modifiers & ShortcutModifier::command)
        parts << u"LOGO"_s;
    parts << name;
    return parts.join(u'+');
}

} // namespace tessel::desktop::DesktopKeys
