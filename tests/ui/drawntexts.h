#pragma once

// What a window draws as text, read from its painting rather than from the
// widgets' own idea of it: the window is rendered into a device whose paint
// engine notes every text item (the widget that drew it, where it landed
// on the window, the painter's own clip) and draws nothing.
#include <QList>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <QWidget>

namespace drawntexts {

struct Text
{
    QPointer<QWidget> widget;  // the widget whose paint event drew it
    QString text;
    QRectF box;   // advance width × font height, window coordinates
    QRectF clip;  // the painter's clip, window coordinates; null when none
};

// Every text the window and its visible children draw, in painting order.
// Runs of one line that the text engine split (a fallback font for the "…")
// come back as one text.
QList<Text> render(QWidget* window);

// The widget's rectangle on its window.
QRect windowRect(const QWidget* widget);

}
