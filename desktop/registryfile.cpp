#include "desktop/registryfile.h"

#include "desktop/execline.h"
#include "platform/inisyntax.h"

#include <QHash>

namespace zk::desktop {

namespace {
// The namespace of this program's name-based ids.
const QUuid kAppIdNamespace = QUuid::fromString(QLatin1String("{5b0e3f8a-7c41-4d2e-9a6b-1f3c2d4e5a60}"));
}

QUuid appIdOf(const QString& desktopFileId)
{
    return QUuid::createUuidV5(kAppIdNamespace, desktopFileId);
}

QString execKey(const QString& programFileName)
{
    if (programFileName.size() <= 2)
        return programFileName;
    const int length = int(std::min<qsizetype>(programFileName.size(), 99));
    return QStringLiteral("%1 %2").arg(length, 2, 10, QLatin1Char('0')).arg(programFileName);
}

QString iconPhonePath(const QString& desktopFileId)
{
    QString stem = desktopFileId;
    if (stem.endsWith(QLatin1String(".desktop")))
        stem.chop(8);
    for (QChar& c : stem) {
        const bool plain = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
                           || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.')
                           || c == QLatin1Char('-') || c == QLatin1Char('_');
        if (!plain)
            c = QLatin1Char('_');
    }
    return QLatin1String(kIconFolderPath) + QLatin1Char('/') + stem + QStringLiteral(".png");
}

QList<RegistryApp> registryApps(const QList<DesktopEntry>& apps)
{
    // Which entry names each program: fewest arguments, then the first.
    QHash<QString, qsizetype> namer;
    QHash<QString, qsizetype> argCount;
    for (qsizetype i = 0; i < apps.size(); ++i) {
        const QString program = programFileName(apps.at(i));
        if (program.isEmpty())
            continue;
        const qsizetype count = launchCommand(apps.at(i)).size();
        if (!namer.contains(program) || count < argCount.value(program)) {
            namer.insert(program, i);
            argCount.insert(program, count);
        }
    }
    QList<RegistryApp> out;
    for (qsizetype i = 0; i < apps.size(); ++i) {
        const DesktopEntry& e = apps.at(i);
        if (e.name.trimmed().isEmpty())
            continue;
        const QString program = programFileName(e);
        RegistryApp app;
        app.group = e.id;
        app.name = e.name;
        app.appId = appIdOf(e.id).toString(QUuid::WithBraces);
        app.icon = iconPhonePath(e.id);
        if (!program.isEmpty() && namer.value(program, -1) == i)
            app.exec = execKey(program);
        out.append(app);
    }
    return out;
}

QByteArray registryText(const QList<RegistryApp>& apps)
{
    QByteArray text = QByteArray(kRegistryMark) + '\n';
    for (const RegistryApp& app : apps) {
        if (!ini::validGroupName(app.group))
            continue;
        text += "\n[" + app.group.toUtf8() + "]\n";
        text += ini::formatEntry(QStringLiteral("Name"), app.name) + '\n';
        text += ini::formatEntry(QStringLiteral("AppID"), app.appId) + '\n';
        text += ini::formatEntry(QStringLiteral("Icon"), app.icon) + '\n';
        if (!app.exec.isEmpty())
            text += ini::formatEntry(QStringLiteral("Exec"), app.exec) + '\n';
    }
    return text;
}

bool isOwnRegistry(const QByteArray& text)
{
    return text.trimmed().isEmpty() || text.startsWith(QByteArray(QByteArray(kRegistryMark) + '\n'));
}

}  // namespace zk::desktop
