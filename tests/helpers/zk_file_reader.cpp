// Usage: zk_file_reader <use>
// Does one thing the program does with its files, through the program's own
// code, and prints what it found and what it cost. Uses:
//   startup       the settings object and the catalogue, as the program
//                 starts: prints every setting and the size of both tables
//   favourites    reads the favourites as the favourites tab does
//   adddialog     builds the add-application dialog: prints its rows
//   write         saves one setting as the settings dialog does
//                 (General/TimeInCaption = true)
//   addfavourite  adds one favourite as the add dialog does
// The files are the usual ones: EZX_APP_WRITE_PATH and EZX_DEVICE_ROOT.
// The last line is "figures ms=<time> start_kb=<resident size before>
// peak_kb=<peak resident size during the use>"; the peak is reset first
// where the kernel allows it ("peak=process" otherwise).
#include "catalogue/favourites.h"
#include "catalogue/zaddappdlg.h"
#include "core/globals.h"
#include "core/zsettings.h"
#include "ezx/zapplication.h"
#include "ezx/zlistbox.h"
#include "platform/devicepath.h"
#include "platform/zconfig.h"

#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

qint64 statusKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Sets the peak resident size back to the current size (Linux 4.0 and on).
bool resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

void say(const QString& line)
{
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void printSettings(const ZSettings& s)
{
    auto b = [](bool v) { return v ? QStringLiteral("true") : QStringLiteral("false"); };
    say(QStringLiteral("setting TimeInCaption ") + b(s.timeInCaption));
    say(QStringLiteral("setting SendReaisePhone ") + b(s.sendRaisePhone));
    say(QStringLiteral("setting SendGoToIDLE ") + b(s.sendGoToIdle));
    say(QStringLiteral("setting ShowAllTask ") + b(!s.hideSystemTasks));
    say(QStringLiteral("setting FiltrProcList ") + QString::number(s.processFilter.size()) + QLatin1Char(' ')
        + s.processFilter.left(100));
    say(QStringLiteral("setting ShowAppNoWindow ") + b(s.showAppNoWindow));
    say(QStringLiteral("setting PanelFontSize ") + QString::number(s.panelFontSize));
    say(QStringLiteral("setting ListFontSize ") + QString::number(s.listFontSize));
    say(QStringLiteral("setting PanelColor ") + s.panelColor.name());
    say(QStringLiteral("setting UserFont ") + b(s.useTextColor));
    say(QStringLiteral("setting ShowInfoByGreen ") + b(s.showInfoByGreen));
    say(QStringLiteral("setting ActionOnC ") + QString::number(s.actionOnC));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: zk_file_reader startup|favourites|adddialog|write|addfavourite\n");
        return 2;
    }
    const QByteArray use = argv[1];
    ZApplication app(argc, argv);
    gApp = &app;

    const bool peakReset = resetPeak();
    const qint64 startKb = statusKb("VmRSS");
    QElapsedTimer clock;
    clock.start();

    if (use == "startup") {
        gSettings = new ZSettings();
        gSettings->buildCatalogue();
        printSettings(*gSettings);
        say(QStringLiteral("icons ") + QString::number(gSettings->iconCatalogue.size()));
        say(QStringLiteral("javanames ") + QString::number(gSettings->javaNames.size()));
    } else if (use == "favourites") {
        say(QStringLiteral("favourites ") + QString::number(readFavourites().size()));
    } else if (use == "adddialog") {
        gSettings = new ZSettings();
        auto dialog = std::make_unique<ZAddAppDlg>();
        say(QStringLiteral("rows ") + QString::number(dialog->regListBox->count()));
    } else if (use == "write") {
        ZConfig config(configFilePath(), false);
        config.writeEntry(QStringLiteral("General"), QStringLiteral("TimeInCaption"), true);
        say(QStringLiteral("flushed ") + QString::number(config.flush() ? 1 : 0));
    } else if (use == "addfavourite") {
        say(QStringLiteral("slot ")
            + QString::number(addFavourite(QStringLiteral("Added"), QStringLiteral("{00000000-0000-0000-0000-0000000000ad}"),
                                           QStringLiteral("added.png"))));
    } else {
        std::fprintf(stderr, "zk_file_reader: unknown use %s\n", use.constData());
        return 2;
    }

    const qint64 ms = clock.elapsed();
    say(QStringLiteral("figures ms=%1 start_kb=%2 peak_kb=%3%4")
            .arg(ms)
            .arg(startKb)
            .arg(statusKb("VmHWM"))
            .arg(peakReset ? QString() : QStringLiteral(" peak=process")));
    delete gSettings;
    gSettings = nullptr;
    gApp = nullptr;
    return 0;
}
