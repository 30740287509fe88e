#include "platform/inisyntax.h"

namespace ini {

namespace {

bool hasLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

QString withoutBlanks(QStringView text)
{
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && isBlank(text.at(from)))
        ++from;
    while (to > from && isBlank(text.at(to - 1)))
        --to;
    return text.mid(from, to - from).toString();
}

Line parseLine(const QByteArray& raw, const QString& group, bool inGroup)
{
    Line line;
    line.raw = raw;
    line.group = group;
    line.inGroup = inGroup;
    const QString whole = QString::fromUtf8(raw);
    const QStringView text = QStringView(whole).trimmed();
    if (text.isEmpty()) {
        line.kind = Line::Blank;
    } else if (text.startsWith(QLatin1Char('#')) || text.startsWith(QLatin1Char(';'))) {
        line.kind = Line::Comment;
    } else if (text.startsWith(QLatin1Char('['))) {
        const qsizetype close = text.indexOf(QLatin1Char(']'));
        if (close > 0) {
            line.kind = Line::Group;
            line.group = text.mid(1, close - 1).toString();
            line.inGroup = true;
        }
    } else {
        const qsizetype eq = text.indexOf(QLatin1Char('='));
        if (eq > 0) {
            line.key = text.left(eq).trimmed().toString();
            if (!line.key.isEmpty()) {
                line.kind = Line::Entry;
                // Only the blanks the writer puts around a value (and a
                // stray line end) are dropped; any other character at its
                // ends is part of it.
                line.value = unescapeValue(withoutBlanks(QStringView(whole).mid(whole.indexOf(QLatin1Char('=')) + 1)));
            }
        }
    }
    return line;
}

}  // namespace

std::vector<Line> parseLines(const QByteArray& data)
{
    // Line ends are shared, not copied: one allocation less per line.
    static const QByteArray lf = QByteArrayLiteral("\n");
    static const QByteArray crlf = QByteArrayLiteral("\r\n");
    std::vector<Line> lines;
    lines.reserve(static_cast<size_t>(data.count('\n')) + 1);
    QString group;
    bool inGroup = false;
    qsizetype start = 0;
    while (start < data.size()) {
        qsizetype end = data.indexOf('\n', start);
        const bool lineFeed = end >= 0;
        const qsizetype next = lineFeed ? end + 1 : data.size();
        if (!lineFeed)
            end = data.size();
        qsizetype len = end - start;
        // A carriage return is part of a line end only before a line feed.
        // One that ends the file stays in the line: taken for a line end,
        // it would be all that parts this line from one added after it.
        if (lineFeed && len > 0 && data.at(end - 1) == '\r')
            --len;
        Line line = parseLine(data.mid(start, len), group, inGroup);
        if (next - start - len == 2)
            line.end = crlf;
        else if (next - start - len == 1)
            line.end = lf;
        if (line.kind == Line::Group) {
            group = line.group;
            inGroup = true;
        }
        lines.push_back(std::move(line));
        start = next;
    }
    return lines;
}

Line makeBlank()
{
    Line line;
    line.kind = Line::Blank;
    return line;
}

Line makeGroup(const QString& group)
{
    Line line;
    line.kind = Line::Group;
    line.raw = '[' + group.toUtf8() + ']';
    line.group = group;
    line.inGroup = true;
    return line;
}

Line makeEntry(const QString& group, const QString& key, const QString& value)
{
    Line line;
    line.kind = Line::Entry;
    line.raw = formatEntry(key, value);
    line.group = group;
    line.inGroup = true;
    line.key = key;
    line.value = value;
    return line;
}

QByteArray formatEntry(const QString& key, const QString& value)
{
    return key.toUtf8() + " = " + escapeValue(value).toUtf8();
}

QString escapeValue(const QString& value)
{
    // Blanks and tabs at the ends would be taken for the blanks around the
    // value: there they are written as \s and \t.
    qsizetype first = 0;
    while (first < value.size() && (value.at(first) == QLatin1Char(' ') || value.at(first) == QLatin1Char('\t')))
        ++first;
    qsizetype last = value.size();
    while (last > first && (value.at(last - 1) == QLatin1Char(' ') || value.at(last - 1) == QLatin1Char('\t')))
        --last;
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        const bool atEnd = i < first || i >= last;
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\r'))
            out += QStringLiteral("\\r");
        else if (atEnd && c == QLatin1Char(' '))
            out += QStringLiteral("\\s");
        else if (atEnd && c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else
            out += c;
    }
    return out;
}

QString unescapeValue(const QString& stored)
{
    if (!stored.contains(QLatin1Char('\\')))
        return stored;
    // The stored text is read as units: a backslash with the character
    // after it, or one character. \s and \t stand for a blank and a tab only
    // in the runs of such units at the two ends, where the writer puts them:
    // a foreign "\t" inside a value stays as it is.
    const qsizetype n = stored.size();
    auto unitAt = [&stored, n](qsizetype i) { return stored.at(i) == QLatin1Char('\\') && i + 1 < n ? 2 : 1; };
    auto blankEscapeAt = [&stored, &unitAt](qsizetype i) {
        return unitAt(i) == 2 && (stored.at(i + 1) == QLatin1Char('s') || stored.at(i + 1) == QLatin1Char('t'));
    };
    qsizetype headEnd = 0;
    while (headEnd < n && blankEscapeAt(headEnd))
        headEnd += 2;
    qsizetype tailStart = n;
    for (qsizetype i = headEnd; i < n; i += unitAt(i)) {
        if (!blankEscapeAt(i))
            tailStart = n;
        else if (tailStart == n)
            tailStart = i;
    }

    QString out;
    out.reserve(n);
    for (qsizetype i = 0; i < n; i += unitAt(i)) {
        if (unitAt(i) == 1) {
            out += stored.at(i);
            continue;
        }
        const QChar e = stored.at(i + 1);
        const bool atEnd = i < headEnd || i >= tailStart;
        if (e == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (e == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else if (e == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        else if (atEnd && e == QLatin1Char('s'))
            out += QLatin1Char(' ');
        else if (atEnd && e == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else
            out += QStringView(stored).mid(i, 2);
    }
    return out;
}

bool validKey(const QString& key)
{
    // Anything the reader would take for something else is refused: a line
    // break, "=" (ends the key), a leading "[" (a group header), a leading
    // "#" or ";" (a comment), blanks at either end (trimmed away on reading),
    // a leading U+FEFF (its bytes open the line, and UTF-8 decoding drops a
    // byte-order mark there).
    if (key.isEmpty() || key != key.trimmed() || hasLineBreak(key))
        return false;
    if (key.contains(QLatin1Char('=')))
        return false;
    const QChar first = key.at(0);
    return first != QLatin1Char('[') && first != QLatin1Char('#') && first != QLatin1Char(';')
           && first != QChar(0xFEFF);
}

bool validGroupName(const QString& group)
{
    // The header is "[" name "]" and the name is read up to the first "]".
    return !group.isEmpty() && !hasLineBreak(group) && !group.contains(QLatin1Char(']'));
}

bool parseBool(const QString& text, bool def)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("true") || t == QLatin1String("1") || t == QLatin1String("yes"))
        return true;
    if (t == QLatin1String("false") || t == QLatin1String("0") || t == QLatin1String("no"))
        return false;
    return def;
}

int parseNumber(const QString& text, int def)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return def;
    // Digits only after an optional sign: toInt() alone would also take
    // blanks inside, and the range check is its own.
    qsizetype i = (t.at(0) == QLatin1Char('-') || t.at(0) == QLatin1Char('+')) ? 1 : 0;
    if (i == t.size())
        return def;
    for (; i < t.size(); ++i) {
        if (t.at(i) < QLatin1Char('0') || t.at(i) > QLatin1Char('9'))
            return def;
    }
    bool ok = false;
    const int n = t.toInt(&ok, 10);
    return ok ? n : def;
}

}  // namespace ini
