#include "process/procstatus.h"

#include "platform/boundedread.h"
#include "platform/taskdir.h"

#include <QTextStream>

namespace zk::proc {

namespace {
// Bounds of the reads: a status file is about 1.5 KiB, a stat line a few
// hundred bytes; a maps file grows with what a task maps, and the dialog
// lists at most what fits in this.
constexpr qint64 kStatusLimit = 64 * 1024;
constexpr qint64 kStatLimit = 4096;
constexpr qint64 kMapsLimit = 4 * 1024 * 1024;

QString missingField(const QString& key, bool wholeLine)
{
    return wholeLine ? key : QString();
}

// The kernel's files are bytes, each one a Latin-1 character (a first byte
// that looks like a byte-order mark included); carriage returns are dropped,
// as a text-mode read does.
QString latin1Text(QByteArray bytes)
{
    bytes.replace('\r', QByteArray());
    return QString::fromLatin1(bytes);
}

QStringList mappedPathsOfBytes(const QByteArray& mapsBytes)
{
    return mappedPaths(latin1Text(mapsBytes));
}
}

QByteArray taskStatusText(const TaskDir& task)
{
    return task.read("status", kStatusLimit).value_or(QByteArray());
}

QString statusField(const QByteArray& statusText, const QString& key, bool wholeLine)
{
    const QString text = latin1Text(statusText);
    // Only the start of a line is a key: the task's name, on the "Name:"
    // line, is chosen by whoever started it and may contain any key's text.
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        const QStringView line = QStringView(text).mid(start, end - start);
        start = end + 1;
        if (!line.startsWith(key))
            continue;
        if (wholeLine)
            return line.toString().simplified();
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        return colon < 0 ? QString() : line.mid(colon + 1).trimmed().toString();
    }
    return missingField(key, wholeLine);
}

QString getStatusField(int pid, const QString& key, bool wholeLine)
{
    return statusField(taskStatusText(TaskDir(pid)), key, wholeLine);
}

QString getStatusField(const QString& path, const QString& key, bool wholeLine)
{
    return statusField(readFileAtMost(path, kStatusLimit).value_or(QByteArray()), key, wholeLine);
}

QString userNameForUid(const QString& uidField)
{
    return uidField == QLatin1String("0\t0\t0\t0") ? QStringLiteral("root") : QStringLiteral("EZX");
}

QString taskUserName(const QByteArray& statusText)
{
    return userNameForUid(statusField(statusText, QStringLiteral("Uid:"), false));
}

QString taskState(const QByteArray& statusText)
{
    return statusField(statusText, QStringLiteral("State:"), false);
}

QList<QByteArray> statFieldsAfterName(const QByteArray& statLine)
{
    const qsizetype close = statLine.lastIndexOf(')');
    if (close < 0)
        return {};
    return statLine.mid(close + 1).simplified().split(' ');
}

QList<QByteArray> taskStatFields(const TaskDir& task)
{
    return statFieldsAfterName(task.read("stat", kStatLimit).value_or(QByteArray()));
}

QList<QByteArray> taskStatFields(int pid)
{
    return taskStatFields(TaskDir(pid));
}

QByteArray statFieldAfterName(const QByteArray& statLine, int index)
{
    const qsizetype close = statLine.lastIndexOf(')');
    if (close < 0 || index < 0)
        return {};
    // Fields are runs of anything but white space, as simplified() and a
    // split at blanks would give them.
    auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    qsizetype i = close + 1;
    const qsizetype end = statLine.size();
    for (int field = 0;; ++field) {
        while (i < end && blank(statLine.at(i)))
            ++i;
        if (i >= end)
            return {};
        qsizetype after = i;
        while (after < end && !blank(statLine.at(after)))
            ++after;
        if (field == index)
            return statLine.mid(i, after - i);
        i = after;
    }
}

QByteArray taskStatField(const TaskDir& task, int index)
{
    return statFieldAfterName(task.read("stat", kStatLimit).value_or(QByteArray()), index);
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

QStringList taskMappedPaths(const TaskDir& task)
{
    return mappedPathsOfBytes(task.read("maps", kMapsLimit).value_or(QByteArray()));
}

QStringList taskMappedPaths(int pid)
{
    return taskMappedPaths(TaskDir(pid));
}

QStringList readMappedPaths(const QString& mapsPath)
{
    return mappedPathsOfBytes(readFileAtMost(mapsPath, kMapsLimit).value_or(QByteArray()));
}

}  // namespace zk::proc
