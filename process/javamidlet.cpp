#include "process/javamidlet.h"

#include "platform/devicepath.h"
#include "platform/logline.h"

#include <QFile>
#include <QStringDecoder>

namespace zk::proc {

namespace {
const int kIdWidth = 5;
const QString kIconTail = QStringLiteral("/Files/MIDlet-1.png");
}

bool isJavaCmdline(const QString& cmdline)
{
    return cmdline.contains(QLatin1String("kvm"));
}

QString midletId(const QString& cmdline)
{
    const QLatin1String launch("-launch");
    const qsizetype at = cmdline.indexOf(launch);
    if (at < 0)
        return QString();
    QString id = cmdline.mid(at + launch.size());
    qsizetype start = 0;
    while (start < id.size() && id.at(start) == QLatin1Char(' '))
        ++start;
    id.remove(0, start);
    const qsizetype blank = id.indexOf(QLatin1Char(' '));
    if (blank >= 0)
        id.truncate(blank);
    // Not null even when nothing follows "-launch".
    return id.rightJustified(kIdWidth, QLatin1Char('0'));
}

QStringList midletIconCandidates(const QString& id, const QString& javaFolderInSD)
{
    // The id comes from a command line: never let it climb out of the folder.
    if (id.isEmpty() || id.contains(QLatin1Char('/')))
        return {};
    const QString folder = QStringLiteral("/MIDlet") + id + kIconTail;
    QStringList paths;
    if (!javaFolderInSD.isEmpty() && !javaFolderInSD.contains(QLatin1String("..")))
        paths << devicePath(QStringLiteral("/mmc/mmca1/.system/") + javaFolderInSD
                            + QStringLiteral("/DownloadApps") + folder);
    paths << devicePath(QStringLiteral("/ezxlocal/download/mystuff/.system/java/DownloadApps") + folder)
          << devicePath(QStringLiteral("/ezxlocal/download/mystuff/.system/java/SystemApps") + folder);
    return paths;
}

QString midletIconPath(const QString& id, const QString& javaFolderInSD)
{
    const QStringList paths = midletIconCandidates(id, javaFolderInSD);
    if (paths.isEmpty())
        return QString();
    QString chosen = paths.last();
    for (qsizetype i = 0; i + 1 < paths.size(); ++i) {
        if (QFile::exists(paths.at(i))) {
            chosen = paths.at(i);
            break;
        }
    }
    logLine(QStringLiteral("LoadIMG: ") + chosen);
    return chosen;
}

QString midletNameKey(const QString& id)
{
    qsizetype start = 0;
    while (start < id.size() && id.at(start) == QLatin1Char('0'))
        ++start;
    const QString key = id.mid(start);
    return key.isEmpty() ? QStringLiteral("0") : key;
}

QString midletRowText(const QString& id, const QMap<QString, QString>& javaNames)
{
    QString text = javaNames.value(midletNameKey(id));
    if (text.isEmpty())
        text = QStringLiteral("Java ID:'") + id + QLatin1Char('\'');
    return decodeCatalogueText(text);
}

QString decodeCatalogueText(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return text;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8.decode(text.toLatin1());
    return utf8.hasError() ? text : decoded;
}

}  // namespace zk::proc
