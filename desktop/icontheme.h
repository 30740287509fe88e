#pragma once

#include <QHash>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

namespace zk::desktop {

// Where the desktop's icon themes keep a named icon, and which of its files
// suits a row 19 pixels high: the phone's list draws PNG files, scaled down
// only.

// One file of an icon.
struct IconFile
{
    enum Kind {
        None,
        Png,       // drawn as it is
        Scalable,  // an SVG picture, to be drawn into a PNG first
        Xpm,       // an old X picture, to be turned into a PNG first
    };
    Kind kind = None;
    QString path;
    int size = 0;  // the side of a PNG, in pixels; 0 for the others

    bool operator==(const IconFile&) const = default;
};

// The side an icon should have at least: the row's icon size.
inline constexpr int kRowIconSide = 19;

// The size of a PNG file from its header; invalid for anything else.
QSize pngSize(const QString& path);

// A file's kind by its name (".png", ".svg", ".xpm"); None for others.
IconFile::Kind kindOfFile(const QString& path);

// Which of two files of the same icon suits a row better: a PNG at least
// kRowIconSide wide (the smaller the better), then a scalable one, then a
// smaller PNG (the larger the better), then an XPM.
bool suitsBetter(const IconFile& a, const IconFile& b);

// The icon themes below the desktop's icon folders, indexed once: every
// picture file of the themes' listed folders by icon name. Build it anew to
// see new files.
class IconThemes
{
public:
    // baseDirs: the icon folders in lookup order (iconBaseDirs()); themes:
    // the theme names to search before "hicolor" (each theme's Inherits are
    // followed); pixmapDirs: the old flat folders searched last.
    IconThemes(const QStringList& baseDirs, const QStringList& themes, const QStringList& pixmapDirs);

    // The best file for an icon name: of the first theme (in lookup order,
    // "hicolor" last) that has a PNG of at least kRowIconSide, else of the
    // themes' best, else of the flat folders. An absolute path is taken as
    // it is, when it exists. None when there is no file.
    IconFile find(const QString& icon) const;

    // The themes searched, in order.
    QStringList themeOrder() const { return m_themes; }

private:
    void indexTheme(const QString& theme, int rank);

    struct Candidate
    {
        IconFile file;
        int themeRank = 0;
    };
    QStringList m_baseDirs;
    QStringList m_pixmapDirs;
    QStringList m_themes;
    QHash<QString, QList<Candidate>> m_byName;
};

// The icon folders: $HOME/.icons, $XDG_DATA_HOME/icons, then icons/ in each
// $XDG_DATA_DIRS folder (dataDirs() gives the last two).
QStringList iconBaseDirs(const QStringList& dataDirs);

// The icon theme the user chose for GTK programs (gtk-icon-theme-name in
// $XDG_CONFIG_HOME/gtk-3.0/settings.ini), else for KDE ones ([Icons] Theme
// in kdeglobals); empty when neither says.
QString chosenIconTheme();

}  // namespace zk::desktop
