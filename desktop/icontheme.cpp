#include "desktop/icontheme.h"

#include "platform/boundedread.h"
#include "platform/zconfig.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace zk::desktop {

namespace {
// index.theme files are small; a theme with thousands of folders is not.
const qint64 kMaxIndexBytes = 1024 * 1024;

int rankOfKind(const IconFile& f)
{
    if (f.kind == IconFile::Png && f.size >= kRowIconSide)
        return 0;
    if (f.kind == IconFile::Scalable)
        return 1;
    if (f.kind == IconFile::Png)
        return 2;
    return f.kind == IconFile::Xpm ? 3 : 4;
}

// The nominal side of a theme folder: Size times Scale, from its group in
// index.theme; 0 for a scalable one.
int folderSide(const ZConfig& index, const QString& folder)
{
    if (index.readEntry(folder, QStringLiteral("Type")) == QLatin1String("Scalable"))
        return 0;
    const int scale = std::max(1, index.readNumEntry(folder, QStringLiteral("Scale"), 1));
    return index.readNumEntry(folder, QStringLiteral("Size"), 0) * scale;
}
}

QSize pngSize(const QString& path)
{
    // The signature, then the IHDR chunk: length, "IHDR", width, height.
    const std::optional<QByteArray> head = readFileAtMost(path, 24);
    if (!head || head->size() < 24 || !head->startsWith("\x89PNG\r\n\x1a\n") || head->mid(12, 4) != "IHDR")
        return QSize();
    auto number = [&head](int at) {
        const auto* b = reinterpret_cast<const unsigned char*>(head->constData() + at);
        return (quint32(b[0]) << 24) | (quint32(b[1]) << 16) | (quint32(b[2]) << 8) | quint32(b[3]);
    };
    const quint32 w = number(16), h = number(20);
    if (w == 0 || h == 0 || w > 65535 || h > 65535)
        return QSize();
    return QSize(int(w), int(h));
}

IconFile::Kind kindOfFile(const QString& path)
{
    if (path.endsWith(QLatin1String(".png")))
        return IconFile::Png;
    if (path.endsWith(QLatin1String(".svg")))
        return IconFile::Scalable;
    if (path.endsWith(QLatin1String(".xpm")))
        return IconFile::Xpm;
    return IconFile::None;
}

bool suitsBetter(const IconFile& a, const IconFile& b)
{
    const int ra = rankOfKind(a), rb = rankOfKind(b);
    if (ra != rb)
        return ra < rb;
    if (ra == 0)
        return a.size < b.size;
    if (ra == 2)
        return a.size > b.size;
    return false;
}

IconThemes::IconThemes(const QStringList& baseDirs, const QStringList& themes, const QStringList& pixmapDirs)
    : m_baseDirs(baseDirs)
    , m_pixmapDirs(pixmapDirs)
{
    QStringList queue = themes;
    queue << QStringLiteral("hicolor");
    // Breadth first along Inherits; "hicolor" comes last whatever inherits it.
    while (!queue.isEmpty()) {
        const QString theme = queue.takeFirst();
        if (theme.isEmpty() || m_themes.contains(theme) || theme.contains(QLatin1Char('/')))
            continue;
        const bool othersWaiting = std::any_of(queue.cbegin(), queue.cend(),
                                               [](const QString& t) { return t != QLatin1String("hicolor"); });
        if (theme == QLatin1String("hicolor") && othersWaiting) {
            queue << theme;
            continue;
        }
        m_themes << theme;
        for (const QString& base : m_baseDirs) {
            const QString file = base + QLatin1Char('/') + theme + QStringLiteral("/index.theme");
            if (QFileInfo(file).isFile()) {
                const ZConfig index(file, false);
                for (const QString& parent :
                     index.readEntry(QStringLiteral("Icon Theme"), QStringLiteral("Inherits")).split(QLatin1Char(',')))
                    queue << parent.trimmed();
                break;
            }
        }
    }
    for (qsizetype i = 0; i < m_themes.size(); ++i)
        indexTheme(m_themes.at(i), int(i));
}

void IconThemes::indexTheme(const QString& theme, int rank)
{
    // The folders listed by the first index.theme found apply below every
    // base folder (a user's ~/.local/share/icons/hicolor has none).
    QString indexFile;
    for (const QString& base : m_baseDirs) {
        const QString file = base + QLatin1Char('/') + theme + QStringLiteral("/index.theme");
        if (QFileInfo(file).isFile() && QFileInfo(file).size() <= kMaxIndexBytes) {
            indexFile = file;
            break;
        }
    }
    if (indexFile.isEmpty())
        return;
    const ZConfig index(indexFile, false);
    const QString group = QStringLiteral("Icon Theme");
    QStringList folders = index.readEntry(group, QStringLiteral("Directories")).split(QLatin1Char(','));
    folders += index.readEntry(group, QStringLiteral("ScaledDirectories")).split(QLatin1Char(','));
    for (QString folder : std::as_const(folders)) {
        folder = folder.trimmed();
        if (folder.isEmpty() || folder.contains(QLatin1String("..")))
            continue;
        const int side = folderSide(index, folder);
        for (const QString& base : std::as_const(m_baseDirs)) {
            const QDir dir(base + QLatin1Char('/') + theme + QLatin1Char('/') + folder);
            const QStringList files =
                dir.entryList({QStringLiteral("*.png"), QStringLiteral("*.svg"), QStringLiteral("*.xpm")}, QDir::Files);
            for (const QString& name : files) {
                Candidate c;
                c.file.kind = kindOfFile(name);
                c.file.path = dir.filePath(name);
                c.file.size = c.file.kind == IconFile::Png ? side : 0;
                c.themeRank = rank;
                m_byName[name.section(QLatin1Char('.'), 0, -2)].append(c);
            }
        }
    }
}

IconFile IconThemes::find(const QString& icon) const
{
    if (icon.isEmpty())
        return {};
    auto sized = [](IconFile f) {
        if (f.kind == IconFile::Png)
            f.size = pngSize(f.path).width();
        return f;
    };
    if (icon.startsWith(QLatin1Char('/'))) {
        IconFile f{kindOfFile(icon), icon, 0};
        return f.kind != IconFile::None && QFileInfo(icon).isFile() ? sized(f) : IconFile{};
    }
    // An icon named with its extension, as some old entries do.
    QString name = icon;
    if (kindOfFile(name) != IconFile::None)
        name = name.section(QLatin1Char('.'), 0, -2);

    // A theme's PNG that fits the row wins in theme order; otherwise the
    // best of all themes.
    const QList<Candidate> candidates = m_byName.value(name);
    const Candidate* best = nullptr;
    for (const Candidate& c : candidates) {
        const bool fits = rankOfKind(c.file) == 0;
        if (!best) {
            best = &c;
            continue;
        }
        const bool bestFits = rankOfKind(best->file) == 0;
        if (fits && bestFits) {
            if (c.themeRank < best->themeRank
                || (c.themeRank == best->themeRank && suitsBetter(c.file, best->file)))
                best = &c;
        } else if (suitsBetter(c.file, best->file)) {
            best = &c;
        }
    }
    if (best)
        return best->file;
    IconFile found;
    for (const QString& dir : m_pixmapDirs) {
        for (const char* ext : {".png", ".svg", ".xpm"}) {
            const QString path = dir + QLatin1Char('/') + name + QLatin1String(ext);
            if (!QFileInfo(path).isFile())
                continue;
            const IconFile f = sized(IconFile{kindOfFile(path), path, 0});
            if (found.kind == IconFile::None || suitsBetter(f, found))
                found = f;
        }
    }
    return found;
}

QStringList iconBaseDirs(const QStringList& dataDirs)
{
    QStringList dirs;
    const QString home = QDir::homePath();
    if (!home.isEmpty())
        dirs << home + QStringLiteral("/.icons");
    for (const QString& data : dataDirs)
        dirs << data + QStringLiteral("/icons");
    return dirs;
}

QString chosenIconTheme()
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString gtk = config + QStringLiteral("/gtk-3.0/settings.ini");
    if (QFileInfo(gtk).isFile()) {
        const QString theme =
            ZConfig(gtk, false).readEntry(QStringLiteral("Settings"), QStringLiteral("gtk-icon-theme-name"));
        if (!theme.isEmpty())
            return theme;
    }
    const QString kde = config + QStringLiteral("/kdeglobals");
    if (QFileInfo(kde).isFile())
        return ZConfig(kde, false).readEntry(QStringLiteral("Icons"), QStringLiteral("Theme"));
    return QString();
}

}  // namespace zk::desktop
