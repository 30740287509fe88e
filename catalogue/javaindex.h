#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// Java application names by index number, written as QString::number writes
// it ("7", never "007").
using JavaNames = QMap<QString, QString>;

// The phone-memory Java index; read after the memory card's, so it wins.
inline constexpr const char* phoneJavaIndexPath = "/ezxlocal/download/mystuff/.system/java/JAMInfo/index";

// The longest piece of a record taken after "||", line end included.
inline constexpr int javaIndexPieceBytes = 254;

// Parses the text of a JAMInfo index into names: each line is a number
// (blanks before it skipped), "||", then a piece of at most 254 bytes, line
// end included, whose name runs up to its first "|" (a piece without one is
// the name whole, line end and all). The rest of a longer line is dropped.
// The names keep the file's bytes as Latin-1 characters; the task list
// decodes them as UTF-8 later. A later record of the same number replaces
// an earlier one. Returns the number of lines that are not records (other
// than blank lines), which are skipped.
int parseJavaIndex(const QByteArray& text, JavaNames& names);

// An index holds some 50 bytes per MIDlet; only this much of a file is
// read, so that a runaway file cannot fill the memory with names.
inline constexpr qint64 javaIndexMaxBytes = 4 * 1024 * 1024;

struct JavaIndexRead
{
    bool opened = false;
    bool notRegular = false;  // a pipe, a device or a folder: never read
    bool cut = false;         // only the first javaIndexMaxBytes were read
    int skippedLines = 0;
};

// Reads the index file at filePath (a real path) into names: at most its
// first javaIndexMaxBytes, up to the last line end within them.
JavaIndexRead readJavaIndexFile(const QString& filePath, JavaNames& names);

// Reads the index at a phone path (below the device root), logging as it
// goes: "processIndex: <path>", then "processIndex: Error! File not found!"
// when it cannot be opened; one line each when it is not a regular file,
// when it was cut, and when some lines were skipped.
void loadJavaIndex(const QString& phonePath, JavaNames& names);
