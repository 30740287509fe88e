#pragma once

// The look of the phone's framework in one place, so that every window,
// list and popup agrees. Sizes are pixels of the 240×320 screen.
#include <QColor>

namespace zskin {

constexpr int screenWidth = 240;
constexpr int screenHeight = 320;
constexpr int titleBarHeight = 24;
constexpr int softKeyBarHeight = 28;
constexpr int tabBarHeight = 30;
constexpr int listRowHeight = 24;  // one text line with a 19-pixel icon
constexpr int iconSize = 19;

// Title bar: a vertical gradient with white bold text.
inline QColor titleTop() { return QColor(0x2c, 0x5d, 0x8f); }
inline QColor titleBottom() { return QColor(0x16, 0x35, 0x57); }
inline QColor titleText() { return QColor(Qt::white); }

// Content.
inline QColor background() { return QColor(0xf5, 0xf7, 0xfa); }
inline QColor text() { return QColor(0x14, 0x1a, 0x21); }
inline QColor dimText() { return QColor(0x5b, 0x66, 0x73); }
inline QColor rule() { return QColor(0xc9, 0xd2, 0xdc); }  // separators, row lines

// Highlight of the current row, tab or menu entry.
inline QColor highlight() { return QColor(0x2f, 0x7b, 0xd0); }
inline QColor highlightText() { return QColor(Qt::white); }

// Soft-key bar at the bottom.
inline QColor softKeyTop() { return QColor(0x3a, 0x3f, 0x46); }
inline QColor softKeyBottom() { return QColor(0x16, 0x19, 0x1d); }
inline QColor softKeyText() { return QColor(Qt::white); }

// Popups drawn over a window.
inline QColor popupFrame() { return QColor(0x16, 0x35, 0x57); }
inline QColor popupBackground() { return QColor(Qt::white); }

}  // namespace zskin
