// The catalogue and the add dialog with a phone full of applications. Each
// sample is a fresh process (zk_bench --catalogue-once), so that every
// sample is a first start with nothing kept from an earlier one: the
// catalogue is built once per start, the main window comes up, and the
// dialog's first opening from it is the one the user waits for.
#include "bench/driver/benches.h"
#include "bench/driver/clocks.h"
#include "bench/driver/interpose.h"
#include "bench/driver/phonestorage.h"
#include "bench/driver/report.h"
#include "bench/driver/spawn.h"

#include "catalogue/zaddappdlg.h"
#include "core/globals.h"
#include "core/zsettings.h"
#include "ezx/zlistbox.h"
#include "ezx/znavtabwidget.h"
#include "ui/zkestrel.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <unistd.h>

#include <algorithm>

namespace {
constexpr int kChildTimeoutMs = 120000;

// Notes when a paint event reaches one widget.
class PaintWatch : public QObject
{
public:
    QObject* target = nullptr;
    bool painted = false;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == target && event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

// Shows every row of the list once, a screenful at a time, as a user
// scrolling to the end would.
void scrollThrough(ZListBox* list)
{
    for (int row = 0; row < list->count(); row += 5) {
        list->setCurrentItem(row);
        QApplication::processEvents();
    }
    list->setCurrentItem(list->count() - 1);
    QApplication::processEvents();
}

// Opens the add dialog as the favourites tab does and waits until its list
// has been painted; then, untimed, scrolls through it when asked. The dialog
// is closed again afterwards.
Timing openDialog(int* rows, bool scroll)
{
    PaintWatch watch;
    qApp->installEventFilter(&watch);
    ZAddAppDlg* dialog = nullptr;
    const Timing t = timeInProcess([&] {
        dialog = new ZAddAppDlg();
        watch.target = dialog->regListBox->viewport();
        dialog->show();
        const qint64 deadline = monotonicNs() + 10'000'000'000LL;
        while (!watch.painted && monotonicNs() < deadline)
            QApplication::processEvents();
    });
    qApp->removeEventFilter(&watch);
    if (rows)
        *rows = dialog->regListBox->count();
    if (scroll)
        scrollThrough(dialog->regListBox);
    delete dialog;
    return watch.painted ? t : Timing{-1, -1};
}

struct OpenCounts
{
    int files = 0;
    int opens = 0;
    int most = 0;
};

OpenCounts countOpens(const QHash<QByteArray, int>& opens)
{
    OpenCounts c;
    for (const int n : opens) {
        ++c.files;
        c.opens += n;
        c.most = std::max(c.most, n);
    }
    return c;
}

QList<double> field(const QList<QList<double>>& lines, int index)
{
    QList<double> out;
    for (const QList<double>& line : lines)
        out.append(line.value(index, -1));
    return out;
}
}

int catalogueOnce(int fd)
{
    gSettings = new ZSettings();
    const Timing catalogue = timeInProcess([] { gSettings->buildCatalogue(); });
    const int entries = static_cast<int>(gSettings->iconCatalogue.size());

    // The dialog is opened from the main window's favourites tab: what the
    // window set up (fonts, styles, pictures) is there before it opens.
    isDaemon = true;
    gMainWindow = new ZKestrel();
    if (gMainWindow->updateTimer)
        gMainWindow->updateTimer->stop();
    gMainWindow->tabWidget->setCurrentPage(1);
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();

    interpose::countPictureOpens(true);
    int rows = 0;
    const Timing first = openDialog(&rows, false);
    const OpenCounts firstOpens = countOpens(interpose::takePictureOpens());
    const Timing second = openDialog(nullptr, true);
    const OpenCounts secondOpens = countOpens(interpose::takePictureOpens());
    interpose::countPictureOpens(false);

    // One line of numbers; the order is the one benchCatalogue reads.
    const QByteArray line = QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10 %11 %12 %13\n")
                                .arg(catalogue.wallMs)
                                .arg(catalogue.cpuMs)
                                .arg(entries)
                                .arg(first.wallMs)
                                .arg(first.cpuMs)
                                .arg(rows)
                                .arg(firstOpens.files)
                                .arg(firstOpens.opens)
                                .arg(firstOpens.most)
                                .arg(second.wallMs)
                                .arg(second.cpuMs)
                                .arg(secondOpens.opens)
                                .arg(secondOpens.most)
                                .toLatin1();
    const bool written = ::write(fd, line.constData(), static_cast<size_t>(line.size())) == line.size();
    delete gSettings;  // and the main window with it
    gSettings = nullptr;
    return written && first.wallMs >= 0 ? 0 : 1;
}

void benchCatalogue(const BenchConfig& config, Report& report)
{
    const QString root = config.workDir + QStringLiteral("/phone-%1").arg(config.apps);
    const StorageFigures storage = writePhoneStorage(root, config.apps);

    QList<QList<double>> lines;
    int failures = 0;
    for (int run = 0; run < config.runs; ++run) {
        SpawnOptions options;
        options.pipeOutput = true;
        options.environment = {QStringLiteral("EZX_DEVICE_ROOT=") + root,
                               QStringLiteral("EZX_APP_WRITE_PATH=") + config.workDir + QStringLiteral("/write-catalogue")};
        const Spawned child = spawnProgram(QCoreApplication::applicationFilePath(),
                                           {QStringLiteral("--catalogue-once")}, options);
        const QByteArray line = readLine(child.pipeFd, kChildTimeoutMs);
        close(child.pipeFd);
        const int status = waitChild(child.pid);
        QList<double> numbers;
        for (const QByteArray& n : line.split(' '))
            numbers.append(n.toDouble());
        if (status != 0 || numbers.size() != 13) {
            ++failures;
            continue;
        }
        lines.append(numbers);
    }

    // The program's own work decides; the wall time beside it also holds
    // the waits for a CPU that the machine's other work took.
    const double catalogueMs = median(field(lines, 1));
    const double dialogMs = median(field(lines, 4));
    const QList<double> mostPerRun = field(lines, 8);
    const double most = lines.isEmpty() ? -1 : *std::max_element(mostPerRun.cbegin(), mostPerRun.cend());
    report.add({QStringLiteral("5 Catalogue"),
                QStringLiteral("buildCatalogue(), registries of %1 applications").arg(config.apps),
                cpuAndWall(catalogueMs, median(field(lines, 0))),
                QString(), QString(), QStringLiteral("< 100 ms"), verdict(!lines.isEmpty() && catalogueMs < 100)});
    report.add({QStringLiteral("5 Catalogue"),
                QStringLiteral("add dialog: new ZAddAppDlg to its list painted, %1 applications").arg(config.apps),
                cpuAndWall(dialogMs, median(field(lines, 3))), QString(), QString(), QStringLiteral("< 100 ms"),
                verdict(!lines.isEmpty() && dialogMs < 100)});
    const QList<double> mostScrolled = field(lines, 12);
    const double worst = std::max(most, lines.isEmpty() ? -1 : *std::max_element(mostScrolled.cbegin(), mostScrolled.cend()));
    report.add({QStringLiteral("5 Catalogue"),
                QStringLiteral("opens of one icon file: first opening; second opening scrolled to the end (most)"),
                QStringLiteral("%1; %2").arg(most).arg(worst), QString(), QString(), QStringLiteral("once each"),
                verdict(!lines.isEmpty() && worst <= 1)});
    report.note(QStringLiteral("Catalogue: %1 fresh processes%2; %3 applications, %4 icon files written; "
                               "%5 catalogue entries; the dialog lists %6 rows, %7 icon files opened %8 times; "
                               "second opening in the same process %9 wall (CPU %10), then scrolled through all rows: "
                               "%11 icon files opened.")
                    .arg(lines.size())
                    .arg(failures ? QStringLiteral(" (%1 failed)").arg(failures) : QString())
                    .arg(storage.applications)
                    .arg(storage.iconFiles)
                    .arg(median(field(lines, 2)))
                    .arg(median(field(lines, 5)))
                    .arg(median(field(lines, 6)))
                    .arg(median(field(lines, 7)))
                    .arg(ms(median(field(lines, 9))), ms(median(field(lines, 10))))
                    .arg(median(field(lines, 11))));
}
