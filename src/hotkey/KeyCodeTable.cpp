// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkey/KeyCodeTable.h"

#include <array>

using namespace Qt::StringLiterals;

namespace tessel::KeyCodeTable {

namespace {
struct Row {
    quint32 keyCode;
    quint32 keysym;
    // Null for keys that are named by the "Key<code>" form.
    const char* name;
};

// Key codes are the US-layout virtual key codes stored in shortcuts; keysyms are X11's.
constexpr std::array kRows{
    Row{0, 0x0061, "A"},       Row{1, 0x0073, "S"},       Row{2, 0x0064, "D"},
    Row{3, 0x0066, "F"},       Row{4, 0x0068, "H"},       Row{5, 0x0067, "G"},
    Row{6, 0x007a, "Z"},       Row{7, 0x0078, "X"},       Row{8, 0x0063, "C"},
    Row{9, 0x0076, "V"},       Row{10, 0x00a7, nullptr},  Row{11, 0x0062, "B"},
    Row{12, 0x0071, "Q"},      Row{13, 0x0077, "W"},      Row{14, 0x0065, "E"},
    Row{15, 0x0072, "R"},      Row{16, 0x0079, "Y"},      Row{17, 0x0074, "T"},
    Row{18, 0x0031, "1"},      Row{19, 0x0032, "2"},      Row{20, 0x0033, "3"},
    Row{21, 0x0034, "4"},      Row{22, 0x0036, "6"},      Row{23, 0x0035, "5"},
    Row{24, 0x003d, "="},      Row{25, 0x0039, "9"},      Row{26, 0x0037, "7"},
    Row{27, 0x002d, "-"},      Row{28, 0x0038, "8"},      Row{29, 0x0030, "0"},
    Row{30, 0x005d, nullptr},  Row{31, 0x006f, "O"},      Row{32, 0x0075, "U"},
    Row{33, 0x005b, nullptr},  Row{34, 0x0069, "I"},      Row{35, 0x0070, "P"},
    Row{36, 0xff0d, "Return"}, Row{37, 0x006c, "L"},      Row{38, 0x006a, "J"},
    Row{39, 0x0027, "'"},      Row{40, 0x006b, "K"},      Row{41, 0x003b, ";"},
    Row{42, 0x005c, "\\"},     Row{43, 0x002c, ","},      Row{44, 0x002f, "/"},
    Row{45, 0x006e, "N"},      Row{46, 0x006d, "M"},      Row{47, 0x002e, "."},
    Row{48, 0xff09, "Tab"},    Row{49, 0x0020, "Space"},  Row{50, 0x0060, nullptr},
    Row{51, 0xff08, nullptr},  Row{53, 0xff1b, nullptr},  Row{65, 0xffae, nullptr},
    Row{67, 0xffaa, nullptr},  Row{69, 0xffab, nullptr},  Row{75, 0xffaf, nullptr},
    Row{76, 0xff8d, nullptr},  Row{78, 0xffad, nullptr},  Row{81, 0xffbd, nullptr},
    Row{82, 0xffb0, nullptr},  Row{83, 0xffb1, nullptr},  Row{84, 0xffb2, nullptr},
    Row{85, 0xffb3, nullptr},  Row{86, 0xffb4, nullptr},  Row{87, 0xffb5, nullptr},
    Row{88, 0xffb6, nullptr},  Row{89, 0xffb7, nullptr},  Row{91, 0xffb8, nullptr},
    Row{92, 0xffb9, nullptr},  Row{96, 0xffc2, nullptr},  Row{97, 0xffc3, nullptr},
    Row{98, 0xffc4, nullptr},  Row{99, 0xffc0, nullptr},  Row{100, 0xffc5, nullptr},
    Row{101, 0xffc6, nullptr}, Row{103, 0xffc8, nullptr}, Row{105, 0xffca, nullptr},
    Row{106, 0xffcd, nullptr}, Row{107, 0xffcb, nullptr}, Row{109, 0xffc7, nullptr},
    Row{111, 0xffc9, nullptr}, Row{113, 0xffcc, nullptr}, Row{114, 0xff6a, nullptr},
    Row{115, 0xff50, nullptr}, Row{116, 0xff55, nullptr}, Row{117, 0xffff, nullptr},
    Row{118, 0xffc1, nullptr}, Row{119, 0xff57, nullptr}, Row{120, 0xffbf, nullptr},
    Row{121, 0xff56, nullptr}, Row{122, 0xffbe, nullptr}, Row{123, 0xff51, nullptr},
    Row{124, 0xff53, nullptr}, Row{125, 0xff54, nullptr}, Row{126, 0xff52, nullptr},
    Row{64, 0xffce, nullptr},  Row{79, 0xffcf, nullptr},  Row{80, 0xffd0, nullptr},
    Row{90, 0xffd1, nullptr},
};

const Row* rowForKeyCode(quint32 keyCode)
{
    for (const Row& row : kRows) {
        if (row.keyCode == keyCode)
            return &row;
    }
    return nullptr;
}
} // namespace

std::optional<quint32> keysymForKeyCode(quint32 keyCode)
{
    const Row* row = rowForKeyCode(keyCode);
    return row ? std::optional(row->keysym) : std::nullopt;
}

std::optional<quint32> keyCodeForKeysym(quint32 keysym)
{
    // X names the shifted letter with its own keysym (XK_V); the key is the same.
    if (keysym >= 0x41 && keysym <= 0x5a)
        keysym += 0x20;
    for (const Row& row : kRows) {
        if (row.keysym == keysym)
            return row.keyCode;
    }
    return std::nullopt;
}

QString keyName(quint16 keyCode)
{
    const Row* row = rowForKeyCode(keyCode);
    if (row && row->name)
        return QString::fromUtf8(row->name);
    return "Key"_L1 + QString::number(keyCode);
}

KeyLabel keyLabel(quint16 keyCode)
{
    const Row* row = rowForKeyCode(keyCode);
    if (!row || !row->name) {
        //% "Key %1"
        return {QT_TRID_NOOP("key_code"), QString::number(keyCode)};
    }
    switch (row->keysym) {
    case 0xff0d:
        //% "Return"
        return {QT_TRID_NOOP("key_return"), {}};
    case 0xff09:
        //% "Tab"
        return {QT_TRID_NOOP("key_tab"), {}};
    case 0x0020:
        //% "Space"
        return {QT_TRID_NOOP("key_space"), {}};
    default:
        return {nullptr, QString::fromUtf8(row->name)};
    }
}

int size()
{
    return static_cast<int>(kRows.size());
}

quint32 keyCodeAt(int index)
{
    return kRows.at(static_cast<std::size_t>(index)).keyCode;
}

} // namespace tessel::KeyCodeTable
