#pragma once

// The phone's key codes. The phone numbers its special keys 0x10XX (the
// Qt/Embedded 2 codes); Qt 6 numbers the same keys 0x010000XX. The names
// below are Qt 6 codes, so they compare directly with QKeyEvent::key();
// phoneKeyCode() gives the phone's number of a Qt 6 key.
#include <Qt>

namespace zkeys {

// Hardware keys.
constexpr int Green = Qt::Key_F1;       // call key, phone 0x1030
constexpr int Red = Qt::Key_F2;         // end key, phone 0x1031
constexpr int Clear = Qt::Key_F3;       // clear key C, phone 0x1032
constexpr int Up = Qt::Key_Up;          // phone 0x1013
constexpr int Down = Qt::Key_Down;      // phone 0x1015
constexpr int Left = Qt::Key_Left;      // phone 0x1012
constexpr int Right = Qt::Key_Right;    // phone 0x1014
constexpr int Select = Qt::Key_Return;  // also Qt::Key_Enter

// The two keys under the soft-key bar.
constexpr int LeftSoft = Qt::Key_F10;
constexpr int RightSoft = Qt::Key_Escape;

// Phone codes as they arrive in "keyMsg(int,int)" on the bus.
constexpr int PhoneGreen = 0x1030;
constexpr int PhoneRed = 0x1031;
constexpr int PhoneClear = 0x1032;
constexpr int PhoneUp = 0x1013;
constexpr int PhoneDown = 0x1015;
constexpr int PopupKey = 4159;  // the side key that pops the task manager up

// True for Return and Enter, the select key.
constexpr bool isSelect(int qtKey)
{
    return qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter;
}

}  // namespace zkeys

// Maps a Qt 6 special key (0x010000XX) to the phone's number (0x10XX);
// every other key is returned unchanged.
constexpr int phoneKeyCode(int qtKey)
{
    return (qtKey & 0xffffff00) == 0x01000000 ? 0x1000 | (qtKey & 0xff) : qtKey;
}
