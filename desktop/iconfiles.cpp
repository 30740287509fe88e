#include "desktop/iconfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSet>
#include <QSvgRenderer>

namespace zk::desktop {

namespace {
const qint64 kMaxSourceBytes = 4 * 1024 * 1024;

// Replaces whatever is at path with a link to target, unless it is one.
bool linkTo(const QString& path, const QString& target)
{
    if (QFileInfo(path).symLinkTarget() == QFileInfo(target).absoluteFilePath())
        return true;
    QFile::remove(path);
    return QFile::link(target, path);
}

bool drawnIsCurrent(const QString& path, const QString& source)
{
    const QFileInfo drawn(path), from(source);
    return drawn.isFile() && !drawn.isSymLink()
           && drawn.lastModified() == from.lastModified();
}
}

bool drawAsPng(const IconFile& source, const QString& target)
{
    if (QFileInfo(source.path).size() > kMaxSourceBytes)
        return false;
    QImage picture;
    if (source.kind == IconFile::Scalable) {
        QSvgRenderer svg(source.path);
        if (!svg.isValid())
            return false;
        svg.setAspectRatioMode(Qt::KeepAspectRatio);
        picture = QImage(kDrawnIconSide, kDrawnIconSide, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        svg.render(&painter);
    } else if (source.kind == IconFile::Xpm) {
        if (!picture.load(source.path, "XPM"))
            return false;
    } else {
        return false;
    }
    if (picture.isNull())
        return false;
    QFile::remove(target);  // a link left from before must not be written through
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || !picture.save(&out, "PNG") || !out.commit())
        return false;
    // Dated as its source: a later run sees whether the source changed.
    QFile drawn(target);
    return drawn.open(QIODevice::ReadWrite)
           && drawn.setFileTime(QFileInfo(source.path).lastModified(), QFileDevice::FileModificationTime);
}

IconCounts publishIcons(const QString& folder, const QList<IconWanted>& wanted, const QString& fallback)
{
    IconCounts counts;
    QDir().mkpath(folder);
    QSet<QString> keep;
    for (const IconWanted& w : wanted) {
        const QString path = folder + QLatin1Char('/') + w.fileName;
        keep.insert(w.fileName);
        bool done = false;
        if (w.source.kind == IconFile::Png) {
            done = linkTo(path, w.source.path);
            counts.linked += done;
        } else if (w.source.kind != IconFile::None) {
            done = drawnIsCurrent(path, w.source.path) || drawAsPng(w.source, path);
            counts.drawn += done;
            counts.failed += !done;
        }
        if (!done) {
            linkTo(path, fallback);
            ++counts.fallback;
        }
    }
    const QStringList present = QDir(folder).entryList({QStringLiteral("*.png")}, QDir::Files | QDir::System);
    for (const QString& name : present) {
        if (!keep.contains(name))
            QFile::remove(folder + QLatin1Char('/') + name);
    }
    return counts;
}

}  // namespace zk::desktop
