#include "ezx/res_icon_reader.h"

#include "platform/logline.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace {
QHash<QString, QPixmap>& iconCache()
{
    static QHash<QString, QPixmap> cache;
    return cache;
}

// Registries are read again on every scan: say once per name that it is unknown.
void reportUnknown(const QString& name)
{
    static QSet<QString> reported;
    if (reported.contains(name))
        return;
    reported.insert(name);
    noteLine(QStringLiteral("RES_ICON_Reader: no icon named ") + name);
}
}

QString RES_ICON_Reader::resourceFile(const QString& name)
{
    // Names come from registry files: accept plain names only, so that a
    // name can never reach outside the icon folder.
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_\\-]+(\\.[A-Za-z0-9_\\-]+)*\\.g$"));
    if (!plain.match(name).hasMatch())
        return QString();
    return QStringLiteral(":/ezx/icons/") + name.chopped(2) + QStringLiteral(".png");
}

QPixmap RES_ICON_Reader::getIcon(const QString& name, bool cached)
{
    if (!name.endsWith(QLatin1String(".g")))
        return QPixmap();
    if (cached) {
        const auto hit = iconCache().constFind(name);
        if (hit != iconCache().constEnd())
            return hit.value();
    }
    const QString file = resourceFile(name);
    QPixmap icon;
    if (file.isEmpty() || !QFile::exists(file) || !icon.load(file)) {
        reportUnknown(name);
        return QPixmap();
    }
    if (cached)
        iconCache().insert(name, icon);
    return icon;
}
