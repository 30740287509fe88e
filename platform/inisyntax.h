#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// The text form of configuration files, apart from the file handling of
// ZConfig: one Line per text line, kept verbatim unless rewritten, so that a
// rewrite keeps comments, blank lines, unknown lines and order.
namespace ini {

struct Line
{
    enum Kind {
        Blank,
        Comment,
        Group,
        Entry,
        Other
    };
    Kind kind = Other;
    QByteArray raw;        // the line's bytes as in the file, without its line end
    QByteArray end;        // its line end as read ("\n" or "\r\n"); empty for new lines
                           // and for a last line without one
    QString group;         // group this line belongs to (its own name for a header)
    bool inGroup = false;  // false before the file's first group header
    QString key;           // Entry only
    QString value;         // Entry only, unescaped
};

// Splits UTF-8 file contents into lines ("\n" or "\r\n" ends a line; a
// carriage return at the very end of the data belongs to its line).
// Lines keep their bytes, so a line that is not UTF-8 is written back as it
// was.
std::vector<Line> parseLines(const QByteArray& data);

Line makeBlank();
Line makeGroup(const QString& group);
Line makeEntry(const QString& group, const QString& key, const QString& value);
QByteArray formatEntry(const QString& key, const QString& value);

// Values are stored on one line: backslash, line feed and carriage return
// are written as \\, \n and \r, and blanks and tabs at the value's ends as
// \s and \t (the reader drops the blanks around a value). Reading decodes
// these, \s and \t only at the ends, so a backslash before anything else
// (as in the phone's own registry files) stays as it is.
QString escapeValue(const QString& value);
QString unescapeValue(const QString& stored);

// A key must survive a round trip through the file as a key of its group.
bool validKey(const QString& key);
bool validGroupName(const QString& group);

// true/false, 1/0, yes/no in any case; anything else gives def.
bool parseBool(const QString& text, bool def);
// A decimal 32-bit integer, blanks around it allowed; anything else gives def.
int parseNumber(const QString& text, int def);

}  // namespace ini
