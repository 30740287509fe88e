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
// until flush() replaces the file atomically (temporary file beside it,
// synced, renamed over it; missing folders are created). A rewrite keeps the
// file's other groups, keys, comments and order. A value can never create
// another key or group, whatever characters it holds.
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
