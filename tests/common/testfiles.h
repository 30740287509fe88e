#pragma once

// Whole files laid out and read back by tests.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace testfiles {

// Writes data as the whole file, making its folder first; false when any of
// it could not be done.
inline bool writeFile(const QString& path, const QByteArray& data)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
}

// A file kept beside the tests ("monitor/fixtures/stat/phone"): captures of
// real machines' files, read as they are.
inline QString fixture(const QString& underTests)
{
    return QStringLiteral(ZK_SOURCE_DIR "/tests/") + underTests;
}

// The whole file; "<unreadable>" when it cannot be opened, so that a file
// that is missing never compares equal to an empty one.
inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

}
