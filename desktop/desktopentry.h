#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace zk::desktop {

// One application of the desktop as its desktop entry file describes it:
// the keys of the file's [Desktop Entry] group that a launcher needs.
struct DesktopEntry
{
    QString id;        // desktop file id, e.g. "debian-xterm.desktop"
    QString filePath;  // where it was read from
    QString type;      // "Application", "Link", ...
    QString name;      // Name in the user's language, else the plain Name
    QString icon;      // Icon: a theme icon name or an absolute file path
    QString exec;      // Exec with the string escapes decoded (quoting is
                       // execline's business)
    QString tryExec;
    QString path;  // working folder of the program; may be empty
    bool terminal = false;
    bool noDisplay = false;
    bool hidden = false;
    QStringList onlyShowIn;
    QStringList notShowIn;
};

// The most a desktop entry file is read of; a longer one is no entry.
inline constexpr qint64 kMaxEntryBytes = 256 * 1024;

// Reads the text of a desktop entry file. Lines "Key=Value" and
// "Key[locale]=Value" of the [Desktop Entry] group count (blanks around "="
// allowed, "#" lines are comments, other groups are skipped); the first of
// a repeated key wins. Localized values are taken for the first of
// localeCandidates(locale) that the file has. Nothing when the text has no
// [Desktop Entry] group.
std::optional<DesktopEntry> parseDesktopEntry(const QByteArray& text, const QString& locale);

// The string escapes of desktop entry values: \s \n \t \r \\; a backslash
// before anything else stays as it is.
QString unescapeValue(const QString& value);

// A list value: items parted by ";" ("\;" is a ";" inside an item), empty
// items dropped.
QStringList splitList(const QString& value);

// The keys of a localized value to try, best first, for a locale written
// lang_COUNTRY.ENCODING@MODIFIER (each part but lang optional):
// lang_COUNTRY@MODIFIER, lang_COUNTRY, lang@MODIFIER, lang. Empty for the
// "C" and "POSIX" locales and for an empty text.
QStringList localeCandidates(const QString& locale);

// The locale of messages: LC_ALL, else LC_MESSAGES, else LANG.
QString messagesLocale();

// The desktops named by XDG_CURRENT_DESKTOP (a ":"-parted list).
QStringList currentDesktops();

// Whether a launcher shows the entry on these desktops: an application, not
// NoDisplay nor Hidden, listed in OnlyShowIn (when set) for one of them and
// in NotShowIn for none. Without a current desktop an entry with OnlyShowIn
// is not shown.
bool isShownOn(const DesktopEntry& entry, const QStringList& desktops);

}  // namespace zk::desktop
