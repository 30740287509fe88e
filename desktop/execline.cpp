#include "desktop/execline.h"

namespace zk::desktop {

std::optional<QStringList> splitExec(const QString& exec)
{
    QStringList args;
    QString arg;
    bool inArg = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                quoted = false;
            } else if (c == QLatin1Char('\\') && i + 1 < exec.size()
                       && QStringLiteral("\"`$\\").contains(exec.at(i + 1))) {
                arg += exec.at(++i);
            } else {
                arg += c;
            }
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n')) {
            if (inArg)
                args << arg;
            arg.clear();
            inArg = false;
        } else if (c == QLatin1Char('"')) {
            quoted = true;
            inArg = true;
        } else {
            arg += c;
            inArg = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inArg)
        args << arg;
    return args;
}

QStringList expandFieldCodes(const QStringList& args, const DesktopEntry& entry)
{
    QStringList out;
    for (const QString& arg : args) {
        if (arg == QLatin1String("%i")) {
            if (!entry.icon.isEmpty())
                out << QStringLiteral("--icon") << entry.icon;
            continue;
        }
        QString expanded;
        bool hadCode = false;
        for (qsizetype i = 0; i < arg.size(); ++i) {
            if (arg.at(i) != QLatin1Char('%') || i + 1 == arg.size()) {
                expanded += arg.at(i);
                continue;
            }
            const QChar code = arg.at(++i);
            hadCode = true;
            if (code == QLatin1Char('%'))
                expanded += QLatin1Char('%');
            else if (code == QLatin1Char('c'))
                expanded += entry.name;
            else if (code == QLatin1Char('k'))
                expanded += entry.filePath;
            // every other code stands for files or nothing at all
        }
        // An argument that was nothing but a file code is no argument.
        if (!hadCode || !expanded.isEmpty())
            out << expanded;
    }
    return out;
}

QStringList launchCommand(const DesktopEntry& entry)
{
    const std::optional<QStringList> args = splitExec(entry.exec);
    if (!args)
        return {};
    const QStringList command = expandFieldCodes(*args, entry);
    if (command.isEmpty())
        return {};
    if (!entry.terminal)
        return command;
    return QStringList{QStringLiteral("x-terminal-emulator"), QStringLiteral("-e")} + command;
}

QString programFileName(const DesktopEntry& entry)
{
    const std::optional<QStringList> args = splitExec(entry.exec);
    if (!args)
        return QString();
    const QStringList command = expandFieldCodes(*args, entry);
    return command.isEmpty() ? QString() : command.constFirst().section(QLatin1Char('/'), -1);
}

}  // namespace zk::desktop
