#include "ezx/scaleicon.h"

#include "platform/logline.h"

#include <QImage>
#include <QPixmap>

void scaleIconTo(QPixmap& pixmap, int n)
{
    if (n <= 0) {
        logLine(QStringLiteral("scaleIconTo: no icon can be %1 pixels wide, left as it is").arg(n));
        return;
    }
    if (pixmap.width() <= n && pixmap.height() <= n)
        return;
    const QImage scaled =
        pixmap.toImage().scaled(n, n, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    pixmap = QPixmap::fromImage(scaled);
}
