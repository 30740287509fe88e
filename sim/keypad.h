#pragma once

#include <QWidget>

// The phone's hardware keys that the desktop has not got: the task key
// (sent as the phone sends it, "keyMsg(int,int)" 4159 press then release
// on "/hardkey/bc") and the green, red and C keys (typed as F1, F2 and F3
// through xdotool, when it is there, into the phone's active window: the one
// with the input focus, see sim/keytarget.h). The keypad never takes the
// focus itself.
class Keypad : public QWidget
{
    Q_OBJECT
public:
    explicit Keypad(QWidget* parent = nullptr);

    // Sends one press and release of a phone key code on "/hardkey/bc".
    static bool sendHardKey(int code);

private:
    void typeKey(const QString& xKeyName);

    QString m_xdotool;
};
