#include "ezx/ownpicture.h"

#include <QImageReader>

QPixmap ownPicture(const QString& path)
{
    QImageReader reader(path, QByteArrayLiteral("png"));
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImageReader(&reader);
}
