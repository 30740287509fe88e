#include "desktop/desktopentry.h"

#include <QHash>

namespace zk::desktop {

namespace {
const QString kGroup = QStringLiteral("Desktop Entry");

bool isTrue(const QString& value)
{
    return value.trimmed() == QLatin1String("true");
}

// "Key" or "Key[locale]", split; false when the key is not one.
bool splitKey(const QString& raw, QString& key, QString& locale)
{
    const qsizetype open = raw.indexOf(QLatin1Char('['));
    if (open < 0) {
        key = raw;
        locale.clear();
        return !key.isEmpty();
    }
    if (!raw.endsWith(QLatin1Char(']')) || open == 0)
        return false;
    key = raw.left(open);
    locale = raw.mid(open + 1, raw.size() - open - 2);
    return !locale.isEmpty();
}
}

QString unescapeValue(const QString& value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const QChar n = value.at(i + 1);
        if (n == QLatin1Char('s'))
            out += QLatin1Char(' ');
        else if (n == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (n == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else if (n == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else if (n == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        else {
            out += c;
            continue;
        }
        ++i;
    }
    return out;
}

QStringList splitList(const QString& value)
{
    QStringList items;
    QString item;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('\\') && i + 1 < value.size() && value.at(i + 1) == QLatin1Char(';')) {
            item += QLatin1Char(';');
            ++i;
        } else if (c == QLatin1Char(';')) {
            if (!item.isEmpty())
                items << item;
            item.clear();
        } else {
            item += c;
        }
    }
    if (!item.isEmpty())
        items << item;
    return items;
}

QStringList localeCandidates(const QString& locale)
{
    QString rest = locale.trimmed();
    QString modifier;
    const qsizetype at = rest.indexOf(QLatin1Char('@'));
    if (at >= 0) {
        modifier = rest.mid(at + 1);
        rest.truncate(at);
    }
    const qsizetype dot = rest.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        rest.truncate(dot);
    const qsizetype underscore = rest.indexOf(QLatin1Char('_'));
    const QString lang = underscore >= 0 ? rest.left(underscore) : rest;
    const QString country = underscore >= 0 ? rest.mid(underscore + 1) : QString();
    if (lang.isEmpty() || lang == QLatin1String("C") || lang == QLatin1String("POSIX"))
        return {};
    QStringList keys;
    if (!country.isEmpty() && !modifier.isEmpty())
        keys << lang + QLatin1Char('_') + country + QLatin1Char('@') + modifier;
    if (!country.isEmpty())
        keys << lang + QLatin1Char('_') + country;
    if (!modifier.isEmpty())
        keys << lang + QLatin1Char('@') + modifier;
    keys << lang;
    return keys;
}

QString messagesLocale()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (!value.isEmpty())
            return value;
    }
    return QString();
}

QStringList currentDesktops()
{
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

std::optional<DesktopEntry> parseDesktopEntry(const QByteArray& text, const QString& locale)
{
    // Plain values by key, localized ones by key and locale.
    QHash<QString, QString> plain;
    QHash<QString, QHash<QString, QString>> localized;
    bool seenGroup = false;
    bool inGroup = false;
    const QList<QByteArray> lines = text.split('\n');
    for (const QByteArray& rawLine : lines) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            // Only the first [Desktop Entry] group counts; actions and
            // other groups follow it.
            inGroup = !seenGroup && line == QLatin1Char('[') + kGroup + QLatin1Char(']');
            seenGroup = seenGroup || inGroup;
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (!inGroup || eq <= 0)
            continue;
        QString key, keyLocale;
        if (!splitKey(line.left(eq).trimmed(), key, keyLocale))
            continue;
        const QString value = line.mid(eq + 1).trimmed();
        if (keyLocale.isEmpty()) {
            if (!plain.contains(key))
                plain.insert(key, value);
        } else if (!localized[key].contains(keyLocale)) {
            localized[key].insert(keyLocale, value);
        }
    }
    if (!seenGroup)
        return std::nullopt;

    const QStringList candidates = localeCandidates(locale);
    auto localeString = [&](const char* key) {
        const QHash<QString, QString> values = localized.value(QLatin1String(key));
        for (const QString& candidate : candidates) {
            if (values.contains(candidate))
                return unescapeValue(values.value(candidate));
        }
        return unescapeValue(plain.value(QLatin1String(key)));
    };
    auto string = [&](const char* key) { return unescapeValue(plain.value(QLatin1String(key))); };
    DesktopEntry entry;
    entry.type = string("Type");
    entry.name = localeString("Name");
    entry.icon = localeString("Icon");
    entry.exec = string("Exec");
    entry.tryExec = string("TryExec");
    entry.path = string("Path");
    entry.terminal = isTrue(plain.value(QStringLiteral("Terminal")));
    entry.noDisplay = isTrue(plain.value(QStringLiteral("NoDisplay")));
    entry.hidden = isTrue(plain.value(QStringLiteral("Hidden")));
    entry.onlyShowIn = splitList(plain.value(QStringLiteral("OnlyShowIn")));
    entry.notShowIn = splitList(plain.value(QStringLiteral("NotShowIn")));
    return entry;
}

bool isShownOn(const DesktopEntry& entry, const QStringList& desktops)
{
    if (entry.type != QLatin1String("Application") || entry.noDisplay || entry.hidden)
        return false;
    for (const QString& desktop : desktops) {
        if (entry.notShowIn.contains(desktop))
            return false;
    }
    if (entry.onlyShowIn.isEmpty())
        return true;
    for (const QString& desktop : desktops) {
        if (entry.onlyShowIn.contains(desktop))
            return true;
    }
    return false;
}

}  // namespace zk::desktop
