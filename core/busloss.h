#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

// Exit code of a resident instance without a session bus: one that could
// not open its channel at start, or one whose bus went away later.
inline constexpr int kExitNoBus = 3;

// A resident instance is reached only over the session bus (show(), the
// pop-up key, a second start). Once the bus is gone nothing can call its
// window up again, so instead of idling unreachable for ever it ends: at
// once when no window is on screen, otherwise when the user leaves the
// window, which keeps working meanwhile.
class ResidentBusLoss : public QObject
{
    Q_OBJECT
public:
    // The loss is noticed through a BusWatch. end: how the instance ends,
    // by default it leaves the event loop with kExitNoBus; window: the
    // window that may be on screen, by default the main window.
    explicit ResidentBusLoss(QObject* parent = nullptr, std::function<void()> end = {},
                             std::function<QWidget*()> window = {});

    // True once the instance has been told to end.
    bool hasEnded() const { return m_ended; }

public slots:
    // The bus has gone.
    void busLost();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void endUnlessOnScreen();

    std::function<void()> m_end;
    std::function<QWidget*()> m_currentWindow;
    QPointer<QWidget> m_window;
    bool m_lost = false;
    bool m_ended = false;
};
