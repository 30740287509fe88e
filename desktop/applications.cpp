#include "desktop/applications.h"

#include "platform/boundedread.h"
#include "platform/logline.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QStandardPaths>

namespace zk::desktop {

namespace {
const int kMaxDepth = 8;

void collect(const QString& top, const QString& dir, int depth, QMap<QString, QString>& byId)
{
    const QFileInfoList items = QDir(dir).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& item : items) {
        if (item.isDir()) {
            if (depth < kMaxDepth)
                collect(top, item.filePath(), depth + 1, byId);
        } else if (item.fileName().endsWith(QLatin1String(".desktop"))) {
            const QString id = desktopFileId(top, item.filePath());
            if (!byId.contains(id))
                byId.insert(id, item.filePath());
        }
    }
}
}

QStringList dataDirs()
{
    QStringList dirs;
    QString home = qEnvironmentVariable("XDG_DATA_HOME");
    if (!home.startsWith(QLatin1Char('/')))
        home = QDir::homePath() + QStringLiteral("/.local/share");
    dirs << home;
    QString system = qEnvironmentVariable("XDG_DATA_DIRS");
    if (system.isEmpty())
        system = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString& dir : system.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (dir.startsWith(QLatin1Char('/')) && !dirs.contains(dir))
            dirs << dir;
    }
    return dirs;
}

QString desktopFileId(const QString& applicationsDir, const QString& filePath)
{
    QString relative = QDir(applicationsDir).relativeFilePath(filePath);
    return relative.replace(QLatin1Char('/'), QLatin1Char('-'));
}

QList<EntryFile> findEntryFiles(const QStringList& dirs)
{
    QMap<QString, QString> byId;
    for (const QString& data : dirs) {
        const QString top = data + QStringLiteral("/applications");
        if (QFileInfo(top).isDir())
            collect(top, top, 1, byId);
    }
    QList<EntryFile> files;
    for (auto it = byId.cbegin(); it != byId.cend(); ++it)
        files.append({it.key(), it.value()});
    return files;
}

QList<DesktopEntry> shownApplications(const QList<EntryFile>& files, const QString& locale,
                                      const QStringList& desktops,
                                      const std::function<bool(const QString&)>& programFound)
{
    QList<DesktopEntry> shown;
    for (const EntryFile& file : files) {
        const std::optional<QByteArray> text = readFileAtMost(file.path, kMaxEntryBytes);
        if (!text || text->size() > kMaxEntryBytes) {
            logLine(QStringLiteral("zk-desktop: ") + file.path + QStringLiteral(" is unreadable or too long; left out"));
            continue;
        }
        std::optional<DesktopEntry> entry = parseDesktopEntry(*text, locale);
        if (!entry || !isShownOn(*entry, desktops))
            continue;
        if (!entry->tryExec.isEmpty() && !programFound(entry->tryExec))
            continue;
        entry->id = file.id;
        entry->filePath = file.path;
        shown.append(*entry);
    }
    return shown;
}

bool programInstalled(const QString& program)
{
    if (program.contains(QLatin1Char('/'))) {
        const QFileInfo info(program);
        return info.isFile() && info.isExecutable();
    }
    return !QStandardPaths::findExecutable(program).isEmpty();
}

}  // namespace zk::desktop
