#include "core/globals.h"
#include "core/zsettings.h"
#include "ezx/languageresources.h"
#include "ezx/zformcontainer.h"
#include "ezx/zlabel.h"
#include "ezx/zlistbox.h"
#include "ezx/zlistboxitem.h"
#include "ezx/znavtabwidget.h"
#include "ezx/zsoftkey.h"
#include "platform/taskdir.h"
#include "process/procstatus.h"
#include "process/zprocinfodlg.h"
#include "tests/common/ztest.h"
#include "tests/process/childprocs.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

using namespace zk::proc;

namespace {
QStringList infoLines(const ZProcInfoDlg& dialog)
{
    QStringList lines;
    for (const ZLabel* label : dialog.infoPanel->findChildren<ZLabel*>())
        lines << label->text();
    return lines;
}

QStringList libraryRows(const ZProcInfoDlg& dialog)
{
    QStringList rows;
    for (int i = 0; i < dialog.libListBox->count(); ++i) {
        const auto* row = dynamic_cast<const ZSettingItem*>(dialog.libListBox->item(i));
        rows << (row ? row->subItem(1, 0) : QString());
    }
    return rows;
}
}

// The details dialog over real children: every text line, the library page,
// the keys and the soft key.
class ProcInfoDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        installLanguageResources(qApp);
        if (!gSettings)
            gSettings = new ZSettings();
    }

    void linesOfARunningTask()
    {
        ChildGroup children;
        const pid_t pid = children.start({"/mmc/mmca1/apps/viewer", "-f", "book.txt"});
        QVERIFY(pid > 0);
        QCOMPARE(setpriority(PRIO_PROCESS, static_cast<id_t>(pid), 4), 0);
        QVERIFY(waitUntilAsleep(pid));

        LogCapture log;
        ZProcInfoDlg dialog(pid);
        const QStringList logged = log.finish();

        const QStringList lines = infoLines(dialog);
        QCOMPARE(lines.size(), 8);
        QCOMPARE(lines.at(0), QStringLiteral("viewer"));
        QCOMPARE(lines.at(1), QStringLiteral("Pid: %1").arg(pid));
        // The NUL after the last argument shows as a blank, as all of them do.
        QCOMPARE(lines.at(2), QStringLiteral("Cmd: /mmc/mmca1/apps/viewer -f book.txt "));
        QVERIFY2(QRegularExpression(QStringLiteral("^VmSize: \\d+ kB$")).match(lines.at(3)).hasMatch(),
                 qPrintable(lines.at(3)));
        QCOMPARE(lines.at(4), QStringLiteral("Status:S (sleeping)"));
        QCOMPARE(lines.at(5), QString::fromUtf8("Потоки:1"));
        QCOMPARE(lines.at(6), getuid() == 0 ? QStringLiteral("User Name:root") : QStringLiteral("User Name:EZX"));
        QCOMPARE(lines.at(7), QStringLiteral("Priority: 4"));
        QCOMPARE(dialog.mainWidgetTitle(), QStringLiteral("Information"));

        QCOMPARE(logged, (QStringList{QStringLiteral("ZProcInfoDlg: Start"),
                                      QStringLiteral("ZProcInfoDlg: Get Cmd line"),
                                      QStringLiteral("ZProcInfoDlg: Add visual component"),
                                      QStringLiteral("ZProcInfoDlg: Get loadded lib"),
                                      QStringLiteral("ZProcInfoDlg: End")}));
    }

    void lineLooks()
    {
        ChildGroup children;
        const pid_t pid = children.start({"/usr/bin/looks"});
        QVERIFY(pid > 0);
        ZProcInfoDlg dialog(pid);
        const QList<ZLabel*> labels = dialog.infoPanel->findChildren<ZLabel*>();
        QCOMPARE(labels.size(), 8);
        QCOMPARE(labels.at(0)->font().pointSize(), 20);
        QCOMPARE(labels.at(0)->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
        QCOMPARE(labels.at(0)->width(), 240);
        QCOMPARE(labels.at(2)->width(), 235);
        QCOMPARE(labels.at(2)->leading(), 14);
        for (int i = 1; i < labels.size(); ++i) {
            QCOMPARE(labels.at(i)->font().pointSize(), 14);
            QVERIFY(labels.at(i)->autoResize());
        }
        const QFont libFont = dialog.libListBox->lineFont(true, false);
        QCOMPARE(libFont.pointSize(), 12);
        QCOMPARE(libFont.weight(), QFont::Bold);
        QCOMPARE(dialog.pageTabs->count(), 2);
        QCOMPARE(dialog.pageTabs->page(0), static_cast<QWidget*>(dialog.infoPanel));
        QCOMPARE(dialog.pageTabs->page(1), static_cast<QWidget*>(dialog.libListBox));
        QVERIFY(dialog.softKey());
        QCOMPARE(dialog.softKey()->text(ZSoftKey::Left), QStringLiteral("OK"));
    }

    void lineOfAnotherUser()
    {
        // Root only when every one of the four uids is 0.
        QCOMPARE(userNameForUid(QStringLiteral("0\t0\t0\t0")), QStringLiteral("root"));
        QCOMPARE(userNameForUid(QStringLiteral("0\t1000\t0\t0")), QStringLiteral("EZX"));
        QCOMPARE(userNameForUid(QString()), QStringLiteral("EZX"));
    }

    void statusWithoutVmSize()
    {
        // A kernel thread's status file has no memory lines.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile status(dir.filePath(QStringLiteral("status")));
        QVERIFY(status.open(QIODevice::WriteOnly));
        status.write("Name:\tkthreadd\nState:\tS (sleeping)\nThreads:\t1\nUid:\t0\t0\t0\t0\n");
        status.close();
        QCOMPARE(getStatusField(status.fileName(), QStringLiteral("VmSize:"), true), QStringLiteral("VmSize:"));
        QCOMPARE(getStatusField(status.fileName(), QStringLiteral("Threads:"), false), QStringLiteral("1"));
    }

    void taskThatHasGone()
    {
        const pid_t pid = startChild({"/usr/bin/gone"});
        QVERIFY(pid > 0);
        stopChild(pid);
        ZProcInfoDlg dialog(pid);
        const QStringList lines = infoLines(dialog);
        QCOMPARE(lines, (QStringList{QString(), QStringLiteral("Pid: %1").arg(pid), QStringLiteral("Cmd: "),
                                     QStringLiteral("VmSize:"), QStringLiteral("Status:"),
                                     QString::fromUtf8("Потоки:"), QStringLiteral("User Name:EZX"),
                                     QStringLiteral("Priority: -1")}));
        QCOMPARE(dialog.libListBox->count(), 0);
    }

    void libraryPage()
    {
        ChildGroup children;
        const pid_t pid = children.start({"/usr/bin/libs"});
        QVERIFY(pid > 0);
        ZProcInfoDlg dialog(pid);
        const QStringList rows = libraryRows(dialog);
        QCOMPARE(rows, taskMappedPaths(pid));
        // The program itself and its loader (both mapped by the kernel at
        // start, in several segments each) are listed once each.
        QCOMPARE(rows.count(QString::fromLocal8Bit(sleeperPath())), 1);
        const QStringList loader = rows.filter(QRegularExpression(QStringLiteral("/ld-linux")));
        QCOMPARE(loader.size(), 1);
        const QByteArray mapsText = TaskDir(pid).read("maps", 1 << 20).value_or(QByteArray());
        QVERIFY(mapsText.count(sleeperPath()) > 1);
        QVERIFY(mapsText.count(loader.first().toLocal8Bit()) > 1);
    }

    void pagesKeysAndOk()
    {
        // A long command line makes the first page taller than the screen.
        QByteArray longArg(900, 'x');
        ChildGroup children;
        const pid_t pid = children.start({"/mmc/mmca1/apps/reader", longArg});
        QVERIFY(pid > 0);
        auto* dialog = new ZProcInfoDlg(pid);
        QCOMPARE(infoLines(*dialog).at(2), QStringLiteral("Cmd: /mmc/mmca1/apps/reader ") + QString::fromLatin1(longArg) + QLatin1Char(' '));

        int result = -1;
        QStringList problems;
        QTimer::singleShot(0, dialog, [&] {
            QApplication::setActiveWindow(dialog);
            ztest::saveShot(dialog, QStringLiteral("procinfo_page1"));
            const int top = dialog->infoPanel->contentsY();
            QTest::keyRelease(dialog->infoPanel, Qt::Key_Down);
            if (dialog->infoPanel->contentsY() != top + ZProcInfoDlg::scrollStep)
                problems << QStringLiteral("Down moved the page to %1").arg(dialog->infoPanel->contentsY());
            QTest::keyRelease(dialog->infoPanel, Qt::Key_Up);
            if (dialog->infoPanel->contentsY() != top)
                problems << QStringLiteral("Up left the page at %1").arg(dialog->infoPanel->contentsY());

            dialog->pageTabs->setCurrentPage(1);
            if (dialog->focusWidget() != dialog->libListBox)
                problems << QStringLiteral("page 2 did not focus the library list");
            QTest::keyRelease(dialog->libListBox, Qt::Key_Down);
            if (dialog->infoPanel->contentsY() != top)
                problems << QStringLiteral("Down on page 2 scrolled page 1");
            ztest::saveShot(dialog, QStringLiteral("procinfo_page2"));
            dialog->pageTabs->setCurrentPage(0);
            if (dialog->focusWidget() != dialog->infoPanel)
                problems << QStringLiteral("page 1 did not focus the form");
            dialog->softKey()->click(ZSoftKey::Left);
        });
        result = dialog->exec();
        delete dialog;
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QStringLiteral("; "))));
        QCOMPARE(result, 1);
    }
};
ZK_TEST(ProcInfoDlgTest)
#include "procinfodlg_test.moc"
