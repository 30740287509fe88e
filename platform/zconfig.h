#pragma once

#include <QString>
#include <QStringList>

// The configuration store: INI text with [group] lines, "key = value" lines
// ("key=value" read too) and "#" / ";" comment lines. Groups and keys are
// case-sensitive. Booleans are written true/false and read from
// true/false/1/0/yes/no in any case; numbers are written in decimal and an
// unreadable number gives the default.
//
// The file is read when the object is made; writes change the object only,
// until flush() applies them to the file as it is at that moment and
// replaces it atomically (temporary file beside it, synced, renamed over
// it; missing folders are created). The file is read again and replaced
// under one lock, so writers of the same file, in this process or others,
// keep each other's keys; of two writes of one key the later flush wins.
// After a flush the object reads what the file then holds. A file that is
// not a regular file, or holds more than 8 MB or 200,000 lines, is not
// read: it reads as empty, with one log line, and flush() never replaces
// it; nor does flush() write a file past those bounds. A rewrite keeps the
// file's other groups, keys, comments and order; a new key goes at the end
// of its group, a new group at the end of the file. A value reads back as
// it was written: line breaks and backslashes are stored as \n, \r and \\,
// blanks and tabs at its ends as \s and \t (other backslashes read as they
// are), so a value can never create another key or group. Keys and group
// names that could not be read back as such ("=" or a line break in a key,
// "]" or a line break in a group name) are refused with a log line. A group
// repeated in a foreign file counts as one group, and the first value of a
// key wins.
class ZConfig
{
public:
    explicit ZConfig(const QString& path, bool create = false);
    ~ZConfig();
    ZConfig(const ZConfig&) = delete;
    ZConfig& operator=(const ZConfig&) = delete;

    QString path() const;

    QString readEntry(const QString& group, const QString& key, const QString& def = QString()) const;
    int readNumEntry(const QString& group, const QString& key, int def = 0) const;
    bool readBoolEntry(const QString& group, const QString& key, bool def = false) const;

    void writeEntry(const QString& group, const QString& key, const QString& value);
    void writeEntry(const QString& group, const QString& key, const char* value);
    void writeEntry(const QString& group, const QString& key, bool value);
    void writeEntry(const QString& group, const QString& key, int value);

    // Writes the changes; false (and one log line) when the file could not be
    // replaced, in which case the old file is left whole.
    bool flush();

    // Fills the list with the file's group names, in file order.
    bool getGroupsKeyList(QStringList& groups) const;

private:
    class Private;
    Private* d;
};
