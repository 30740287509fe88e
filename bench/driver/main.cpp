// zk_bench: measures zKestrel against the machine's limits and the usual
// tools, every figure side by side with its reference in one run, and prints
// the table (Markdown). Run it through scripts/bench.sh, which builds it and
// gives it a private session bus, the offscreen screen and a phone's storage.
//
//   zk_bench [--runs N] [--idle-seconds S] [--processes N] [--windows N] [--large N]
//            [--apps N] [--refreshes N] [--only startup,resident,refresh,scan,desktop,catalogue]
//            [--out FILE] [--work DIR]
//
// --work keeps the scratch files (the generated phone storage among them) in
// DIR instead of a temporary folder, for a profiler to run on later.
#include "bench/driver/benches.h"
#include "bench/driver/procfs.h"
#include "bench/driver/report.h"

#include "core/globals.h"
#include "core/zsettings.h"
#include "ezx/zapplication.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace {
void progress(const char* text)
{
    std::fprintf(stderr, "zk_bench: %s\n", text);
    std::fflush(stderr);
}

// The program's debug lines would only clutter the progress output.
void quietDebug(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type == QtDebugMsg)
        return;
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLatin1(file.readAll().split(' ').mid(0, 3).join(' '));
}

int intOption(const QStringList& args, const QString& name, int fallback)
{
    const qsizetype i = args.indexOf(name);
    if (i < 0 || i + 1 >= args.size())
        return fallback;
    bool ok = false;
    const int value = args.at(i + 1).toInt(&ok);
    return ok && value > 0 ? value : fallback;
}

QString textOption(const QStringList& args, const QString& name)
{
    const qsizetype i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args.at(i + 1) : QString();
}
}

int main(int argc, char** argv)
{
    // The table goes to the standard output as it was given; the log lines
    // of the code under measurement go to /dev/null, as the measured
    // programs' do.
    const int out = dup(STDOUT_FILENO);
    const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
    dup2(devNull, STDOUT_FILENO);
    close(devNull);
    qInstallMessageHandler(quietDebug);

    gApp = new ZApplication(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.contains(QStringLiteral("--catalogue-once")))
        return catalogueOnce(out);

    BenchConfig config;
    config.runs = intOption(args, QStringLiteral("--runs"), config.runs);
    config.idleSeconds = intOption(args, QStringLiteral("--idle-seconds"), config.idleSeconds);
    config.processes = intOption(args, QStringLiteral("--processes"), config.processes);
    config.windows = std::min(intOption(args, QStringLiteral("--windows"), config.windows), config.processes);
    // --large 0 leaves the large scan out.
    config.largeProcesses = args.contains(QStringLiteral("--large"))
                                ? textOption(args, QStringLiteral("--large")).toInt()
                                : config.largeProcesses;
    config.apps = intOption(args, QStringLiteral("--apps"), config.apps);
    config.refreshes = intOption(args, QStringLiteral("--refreshes"), config.refreshes);
    const QString only = textOption(args, QStringLiteral("--only"));
    auto wanted = [&only](const char* phase) { return only.isEmpty() || only.split(',').contains(QLatin1String(phase)); };

    QTemporaryDir work;
    const QString kept = textOption(args, QStringLiteral("--work"));
    config.binDir = QCoreApplication::applicationDirPath();
    config.workDir = kept.isEmpty() ? work.path() : kept;
    QDir().mkpath(config.workDir);
    config.deviceRoot = qEnvironmentVariable("EZX_DEVICE_ROOT");

    gSettings = new ZSettings();
    gSettings->buildCatalogue();

    Report report;
    const QString loadBefore = loadAverage();
    const QString started = QDateTime::currentDateTime().toString(Qt::ISODate);
    if (wanted("startup")) {
        progress("start-up and memory (exec to first frame, resident set)");
        benchStartup(config, report);
    }
    if (wanted("resident")) {
        progress("resident pop-ups, then a window left open");
        benchResident(config, report);
    }
    if (wanted("refresh")) {
        progress("refresh cost and memory over many refreshes");
        benchRefresh(config, report);
    }
    if (wanted("scan")) {
        progress("scan with many processes");
        benchScan(config, report);
    }
    if (wanted("desktop")) {
        progress("desktop services and the resident, idle, on a desktop");
        benchDesktop(config, report);
    }
    if (wanted("catalogue")) {
        progress("catalogue and add dialog");
        benchCatalogue(config, report);
    }

    report.setHeader({QStringLiteral("Machine: ") + machineLine(),
                      QStringLiteral("Run: %1; %2 runs per figure (medians); load average %3 before, %4 after.")
                          .arg(started)
                          .arg(config.runs)
                          .arg(loadBefore, loadAverage())});
    const QByteArray table = report.markdown().toUtf8();
    const QString outFile = textOption(args, QStringLiteral("--out"));
    if (!outFile.isEmpty()) {
        QFile file(outFile);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(table);
    }
    if (::write(out, table.constData(), static_cast<size_t>(table.size())) != table.size())
        return 2;

    delete gSettings;
    gSettings = nullptr;
    return 0;
}
