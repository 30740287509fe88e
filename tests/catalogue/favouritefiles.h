#pragma once

// Files the favourites tests lay out: the configuration file, the phone's
// registries and pictures below the device root.
#include "catalogue/favourites.h"
#include "core/zsettings.h"
#include "platform/devicepath.h"
#include "platform/zconfig.h"
#include "tests/common/testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTest>

namespace favfiles {

inline void putFile(const QString& path, const QByteArray& text)
{
    QVERIFY(testfiles::writeFile(path, text));
}

inline void putConfig(const QByteArray& text) { putFile(configFilePath(), text); }
inline void putPhoneFile(const QString& phonePath, const QByteArray& text) { putFile(devicePath(phonePath), text); }

inline QByteArray configText()
{
    QFile f(configFilePath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A picture of the given size at a phone path.
inline void putPicture(const QString& phonePath, int width, int height, QColor colour = Qt::darkCyan)
{
    const QString path = devicePath(phonePath);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    QVERIFY(image.save(path, "PNG"));
}

inline QString appEntry(const QString& key)
{
    const ZConfig config(configFilePath(), false);
    return config.readEntry(QStringLiteral("App"), key, QStringLiteral("<absent>"));
}

// Every favourite slot taken.
inline QByteArray allSlotsUsed()
{
    QByteArray text = "[App]\n";
    for (int slot = 0; slot < favouriteSlotCount; ++slot)
        text += "name" + QByteArray::number(slot) + " = App " + QByteArray::number(slot) + "\n";
    return text;
}

// Removes what earlier tests left: configuration and phone storage.
inline void clearAll()
{
    QFile::remove(configFilePath());
    for (const char* top : {"/mmc", "/usr", "/ezxlocal", "/pics"})
        QDir(devicePath(QLatin1String(top))).removeRecursively();
}

inline QByteArray imageBytes(const QPixmap& pixmap)
{
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    return QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
}

}  // namespace favfiles
