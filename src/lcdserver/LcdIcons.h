#pragma once

#include <QByteArray>
#include <optional>

// LCDd's icons by the names clients give them (in any case), as the server's fallback draws them
// in one or two cells, with the panel's full block for the filled block.
struct LcdIcon {
    const char* name;
    char first;
    char second; // 0: one cell
};

inline constexpr LcdIcon kLcdIcons[] = {{"BLOCK_FILLED", '\xFF', 0},
                                        {"HEART_OPEN", '-', 0},
                                        {"HEART_FILLED", '#', 0},
                                        {"ARROW_UP", '^', 0},
                                        {"ARROW_DOWN", 'v', 0},
                                        {"ARROW_LEFT", '<', 0},
                                        {"ARROW_RIGHT", '>', 0},
                                        {"CHECKBOX_OFF", 'N', 0},
                                        {"CHECKBOX_ON", 'Y', 0},
                                        {"CHECKBOX_GRAY", 'o', 0},
                                        {"SELECTOR_AT_LEFT", '>', 0},
                                        {"SELECTOR_AT_RIGHT", '<', 0},
                                        {"ELLIPSIS", '_', 0},
                                        {"STOP", '[', ']'},
                                        {"PAUSE", '|', '|'},
                                        {"PLAY", '>', ' '},
                                        {"PLAYR", '<', ' '},
                                        {"FF", '>', '>'},
                                        {"FR", '<', '<'},
                                        {"NEXT", '>', '|'},
                                        {"PREV", '|', '<'},
                                        {"REC", '(', ')'}};

inline std::optional<LcdIcon> lcdIcon(QByteArrayView name) {
    for (const LcdIcon& icon : kLcdIcons) {
        if (name.compare(icon.name, Qt::CaseInsensitive) == 0) {
            return icon;
        }
    }
    return std::nullopt;
}
