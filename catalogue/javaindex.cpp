#include "catalogue/javaindex.h"

#include "platform/boundedread.h"
#include "platform/devicepath.h"
#include "platform/logline.h"

#include <QFile>
#include <QFileInfo>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// One line, with its line end if it has one. False when it is not a record.
bool parseRecord(const char* line, qsizetype size, JavaNames& names)
{
    qsizetype pos = 0;
    while (pos < size && isBlank(line[pos]))
        ++pos;
    const qsizetype digitsStart = pos;
    while (pos < size && isDigit(line[pos]))
        ++pos;
    if (pos == digitsStart || pos + 2 > size || line[pos] != '|' || line[pos + 1] != '|')
        return false;

    qsizetype first = digitsStart;
    while (first < pos - 1 && line[first] == '0')
        ++first;
    if (pos - first > 10)
        return false;
    bool ok = false;
    const qlonglong number = QByteArray(line + first, pos - first).toLongLong(&ok);
    if (!ok || number > 0x7fffffff)
        return false;

    const char* piece = line + pos + 2;
    const qsizetype pieceSize = qMin<qsizetype>(size - pos - 2, javaIndexPieceBytes);
    qsizetype nameSize = 0;
    while (nameSize < pieceSize && piece[nameSize] != '|')
        ++nameSize;
    names.insert(QString::number(number), QString::fromLatin1(piece, nameSize));
    return true;
}

bool isBlankLine(const char* line, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i) {
        if (line[i] != '\n' && !isBlank(line[i]))
            return false;
    }
    return true;
}

}  // namespace

int parseJavaIndex(const QByteArray& text, JavaNames& names)
{
    int skipped = 0;
    const char* data = text.constData();
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype newline = text.indexOf('\n', start);
        const qsizetype end = newline < 0 ? text.size() : newline + 1;
        const char* line = data + start;
        const qsizetype size = end - start;
        if (!parseRecord(line, size, names) && !isBlankLine(line, size))
            ++skipped;
        start = end;
    }
    return skipped;
}

JavaIndexRead readJavaIndexFile(const QString& filePath, JavaNames& names)
{
    JavaIndexRead result;
    QFile file(filePath);
    // A pipe would block the start-up and a device never end.
    if (file.exists() && !QFileInfo(filePath).isFile()) {
        result.notRegular = true;
        return result;
    }
    if (!file.open(QIODevice::ReadOnly))
        return result;
    result.opened = true;
    QByteArray text = readAtMost(file, javaIndexMaxBytes);
    if (text.size() > javaIndexMaxBytes) {
        result.cut = true;
        text.truncate(text.lastIndexOf('\n', javaIndexMaxBytes - 1) + 1);
    }
    result.skippedLines = parseJavaIndex(text, names);
    return result;
}

void loadJavaIndex(const QString& phonePath, JavaNames& names)
{
    logLine(QStringLiteral("processIndex: ") + phonePath);
    const JavaIndexRead read = readJavaIndexFile(devicePath(phonePath), names);
    if (read.notRegular) {
        logLine(QStringLiteral("processIndex: not a regular file, ignored"));
        return;
    }
    if (!read.opened) {
        logLine(QStringLiteral("processIndex: Error! File not found!"));
        return;
    }
    if (read.cut)
        logLine(QStringLiteral("processIndex: only the first %1 MB read, the rest ignored").arg(javaIndexMaxBytes / (1024 * 1024)));
    if (read.skippedLines > 0)
        logLine(QStringLiteral("processIndex: skipped %1 line(s) that are not number||name records")
                    .arg(read.skippedLines));
}
