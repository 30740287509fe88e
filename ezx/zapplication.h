#pragma once

#include <QApplication>
#include <QPointer>

class QCopChannel;

// The phone's application object. At construction it registers the channel
// "EZX/Application/<pid>" (the sign that this process has a window) and
// installs the phone's language resources. On that channel:
//   raise()            show and raise the main widget, emit signalRaise()
//   quickQuit()        leave the event loop
//   ReturnToIdle(int)  emit askReturnToIdle(int); by default
//                      slotReturnToIdle(int) hides the main widget
//
// Font sizes are the phone's: a point is a pixel of its screen (a 16-point
// font is 16 pixels tall in the 240-pixel-wide window), on every platform
// plugin. The default font is DejaVu Sans of 13 points; the style and the
// palette are the toolkit's (ezx/zskin.h).
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
};
