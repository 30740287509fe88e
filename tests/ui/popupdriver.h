#pragma once

// Plays the user of popups: while a driver lives, every popup that comes up
// modally is handed to the next step (in order), which looks at it and ends
// it. Arm the driver before the action that opens the popup; a popup runs its
// own loop, so the action returns only once a step has ended it.
#include "ezx/zpopup.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <functional>

class PopupDriver
{
public:
    using Step = std::function<void(ZPopup*)>;

    PopupDriver()
    {
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
        m_timer.start();
    }

    void then(Step step) { m_steps.push_back(std::move(step)); }
    int seen() const { return m_seen; }

    // Ends a popup as the user would: its left (OK) or right (Cancel) soft key.
    static void confirm(ZPopup* popup) { popup->softkeyButton(0)->click(); }
    static void cancel(ZPopup* popup) { popup->softkeyButton(1)->click(); }

private:
    void poll()
    {
        auto* popup = qobject_cast<ZPopup*>(QApplication::activeModalWidget());
        if (!popup || popup == m_last || !popup->isVisible())
            return;
        m_last = popup;
        ++m_seen;
        const int index = m_seen - 1;
        if (index < static_cast<int>(m_steps.size()))
            m_steps[static_cast<size_t>(index)](popup);
        else
            cancel(popup);  // not expected: never leave it open
    }

    QTimer m_timer;
    std::vector<Step> m_steps;
    QPointer<ZPopup> m_last;
    int m_seen = 0;
};
