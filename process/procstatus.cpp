#include "process/procstatus.h"

#include <QFile>
#include <QTextStream>

namespace {
QString statusPath(int pid)
{
    return QStringLiteral("/proc/%1/status").arg(pid);
}

QString missingField(const QString& key, bool wholeLine)
{
    return wholeLine ? key : QString();
}

// The kernel's files are bytes; each one is a Latin-1 character. Without
// this, a file that starts like a byte-order mark (FE FF, FF FE, EF BB BF)
// would be decoded as UTF-16 or UTF-8 instead.
void latin1Only(QTextStream& in)
{
    in.setEncoding(QStringConverter::Latin1);
    in.setAutoDetectUnicode(false);
}
}

QString getStatusField(const QString& path, const QString& key, bool wholeLine)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return missingField(key, wholeLine);
    QTextStream in(&file);
    latin1Only(in);
    QString line;
    // Only the start of a line is a key: the task's name, on the "Name:"
    // line, is chosen by whoever started it and may contain any key's text.
    while (in.readLineInto(&line)) {
        if (!line.startsWith(key))
            continue;
        if (wholeLine)
            return line.simplified();
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        return colon < 0 ? QString() : line.mid(colon + 1).trimmed();
    }
    return missingField(key, wholeLine);
}

QString getStatusField(int pid, const QString& key, bool wholeLine)
{
    return getStatusField(statusPath(pid), key, wholeLine);
}

QString userNameForUid(const QString& uidField)
{
    return uidField == QLatin1String("0\t0\t0\t0") ? QStringLiteral("root") : QStringLiteral("EZX");
}

QString taskUserName(int pid)
{
    return userNameForUid(getStatusField(pid, QStringLiteral("Uid:"), false));
}

QList<QByteArray> statFieldsAfterName(const QByteArray& statLine)
{
    const qsizetype close = statLine.lastIndexOf(')');
    if (close < 0)
        return {};
    return statLine.mid(close + 1).simplified().split(' ');
}

QList<QByteArray> taskStatFields(int pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !file.open(QIODevice::ReadOnly))
        return {};
    return statFieldsAfterName(file.read(4096));
}

QString taskState(int pid)
{
    return getStatusField(pid, QStringLiteral("State:"), false);
}

QStringList mappedPaths(QTextStream& maps)
{
    QStringList paths;
    QString seen;
    QString line;
    while (maps.readLineInto(&line)) {
        if (line.contains(QLatin1String("/SYSV")))
            continue;
        const qsizetype slash = line.indexOf(QLatin1Char('/'));
        if (slash < 0)
            continue;
        const QString path = line.mid(slash).trimmed();
        if (seen.contains(path))
            continue;
        seen += path + QLatin1Char('|');
        paths << path;
    }
    return paths;
}

QStringList mappedPaths(const QString& mapsText)
{
    QString text = mapsText;
    QTextStream in(&text, QIODevice::ReadOnly);
    return mappedPaths(in);
}

QStringList readMappedPaths(const QString& mapsPath)
{
    QFile file(mapsPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&file);
    latin1Only(in);
    return mappedPaths(in);
}

QStringList taskMappedPaths(int pid)
{
    return readMappedPaths(QStringLiteral("/proc/%1/maps").arg(pid));
}
