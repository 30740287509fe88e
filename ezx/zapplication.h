#pragma once

#include <QApplication>
#include <QPointer>

class QCopChannel;

// The phone's application object. At construction it registers the channel
// "EZX/Application/<pid>" (the sign that this process has a window) and
// installs the phone's language resources. On that channel:
//   raise()            emit signalRaise(); unless the program shows its
//                      window itself (setShowsMainWidgetOnRaise(false)),
//                      also show the main widget and bring it to the front
//   quickQuit()        leave the event loop
//   ReturnToIdle(int)  emit askReturnToIdle(int); by default
//                      slotReturnToIdle(int) hides the main widget
//
// Font sizes are the phone's: a point is a pixel of its screen (a 16-point
// font is 16 pixels tall in the 240-pixel-wide window), on every platform
// plugin. The default font is DejaVu Sans of 13 points; the style and the
// palette are the toolkit's (ezx/zskin.h).
//
// It also keeps the phone's keyboard rules (ezx/zfocus.h): every top-level
// window that comes on screen is brought to the front with the keyboard, one
// that leaves gives the keyboard back, and a key meant for a hidden widget
// of a shown window is dropped (the keyboard moves to the window's key
// target).
class ZApplication : public QApplication
{
    Q_OBJECT
public:
    static constexpr int defaultFontSize = 13;
    static constexpr const char* defaultFontFamily = "DejaVu Sans";

    // type: the phone's application type (GuiClient = 1); kept for callers.
    ZApplication(int& argc, char** argv, int type = 1);
    ~ZApplication() override;

    void setMainWidget(QWidget* widget);
    QWidget* mainWidget() const;

    // The channel of this application, "EZX/Application/<pid>".
    QByteArray applicationChannel() const;

    // Whether "raise()" shows the main widget by itself (the default), or
    // leaves that to the program's handler of signalRaise().
    void setShowsMainWidgetOnRaise(bool shows);
    bool showsMainWidgetOnRaise() const;

    bool notify(QObject* receiver, QEvent* event) override;

public slots:
    virtual void slotReturnToIdle(int reason);

signals:
    void signalRaise();
    void askReturnToIdle(int reason);

private slots:
    void applicationMessage(const QByteArray& message, const QByteArray& data);

private:
    // Runs before the platform starts (from the base class's argument).
    static int& prepareEnvironment(int& argc);
    void applyLook();

    QCopChannel* m_channel = nullptr;
    QPointer<QWidget> m_mainWidget;
    bool m_showsMainWidgetOnRaise = true;
};
