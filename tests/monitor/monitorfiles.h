#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

// Writes a file for a test, creating its folder; returns the path.
inline QString writeTestFile(const QString& path, const QByteArray& contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    file.write(contents);
    return path;
}
