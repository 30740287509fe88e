#include "core/globals.h"
#include "core/zsettings.h"
#include "ezx/listrowitem.h"
#include "ezx/zformcontainer.h"
#include "ezx/zlabel.h"
#include "ezx/zlistbox.h"
#include "ezx/znavtabwidget.h"
#include "ezx/zscrollpanel.h"
#include "ezx/zslidermodule.h"
#include "ezx/zsoftkey.h"
#include "platform/devicepath.h"
#include "platform/qcopchannel.h"
#include "platform/zconfig.h"
#include "process/procactions.h"
#include "process/zprocinfodlg.h"
#include "tests/common/ztest.h"
#include "tests/process/appchildren.h"
#include "tests/process/childprocs.h"
#include "tests/process/taskwindow.h"
#include "ui/zappsetting.h"
#include "ui/zkestrel.h"
#include "ui/znumselect.h"

#include <QDeadlineTimer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zk::proc;

using namespace taskwindow;

namespace {
// Runs `act` once on the first visible widget of type T that `find` gives,
// from inside the nested loop that shows it; gives up after 20 s.
template <typename T>
void whenShown(const std::function<T*()>& find, const std::function<void(T*)>& act, int triesLeft = 4000)
{
    QTimer::singleShot(5, qApp, [=] {
        T* widget = find();
        if (widget && widget->isVisible())
            act(widget);
        else if (triesLeft > 0)
            whenShown<T>(find, act, triesLeft - 1);
    });
}

ZProcInfoDlg* openInfoDialog()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<ZProcInfoDlg*>(w); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

// Closes every details dialog that opens while it lives, noting the pid line
// of each.
struct InfoDialogCloser
{
    std::shared_ptr<QStringList> pidLines = std::make_shared<QStringList>();
    std::shared_ptr<bool> running = std::make_shared<bool>(true);

    InfoDialogCloser() { poll(pidLines, running); }
    ~InfoDialogCloser() { *running = false; }
    InfoDialogCloser(const InfoDialogCloser&) = delete;
    InfoDialogCloser& operator=(const InfoDialogCloser&) = delete;

    static void poll(std::shared_ptr<QStringList> lines, std::shared_ptr<bool> alive)
    {
        QTimer::singleShot(5, qApp, [lines, alive] {
            if (!*alive)
                return;
            if (ZProcInfoDlg* dialog = openInfoDialog()) {
                *lines << dialog->infoPanel->findChildren<ZLabel*>().value(1)->text();
                dialog->softKey()->click(ZSoftKey::Left);
            }
            poll(lines, alive);
        });
    }
};

// The phone keys' actions run right after their key event.
void runKeyActions()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
}

// Messages of one channel; the test ends a batch with its own marker so that
// "nothing else came" is known without waiting for time to pass.
struct Listener
{
    QCopChannel channel;
    QSignalSpy spy;
    explicit Listener(const QByteArray& name)
        : channel(name)
        , spy(&channel, &QCopChannel::received)
    {
    }

    QList<QByteArray> messagesUntilMarker()
    {
        QCopChannel::send(channel.channel(), "marker()");
        QList<QByteArray> messages;
        QDeadlineTimer deadline(20000);
        while (!deadline.hasExpired()) {
            if (!spy.isEmpty() && spy.last().at(0).toByteArray() == "marker()")
                break;
            spy.wait(100);
        }
        for (const QList<QVariant>& m : spy)
            messages << m.at(0).toByteArray();
        return messages;
    }
};
}

// The actions on the task under the highlight, the hide-all routine and the
// phone keys, against real children.
class TaskActionsWindowTest : public QObject
{
    Q_OBJECT

    ZKestrel* window = nullptr;

    void select(int pid)
    {
        window->procListBox->setCurrentItem(rowOfPid(window->procListBox, pid));
    }

private slots:
    void initTestCase() { window = create(); }
    void cleanupTestCase() { destroy(window); }
    void init()
    {
        resetSettings();
        bringBack(window);
    }

    void quitRemovesTheRowOfTheTaskThatEnded()
    {
        AppChildGroup apps;
        const pid_t quitter = apps.start({"/usr/SYSqtapp/calc/calc"}, AppChildGroup::ExitOnQuit);
        const pid_t other = apps.start({"/usr/SYSqtapp/notes/notes"});
        QVERIFY(quitter > 0 && other > 0);
        window->buildProcList();
        ZListBox* list = window->procListBox;
        select(quitter);
        QCOMPARE(list->currentItem(), rowOfPid(list, quitter));

        // While the action waits, the user moves the highlight and the task
        // ends (its exit is awaited here, so the machine's speed does not
        // matter).
        bool ended = false;
        int status = -1;
        QTimer::singleShot(0, this, [&] {
            select(other);
            ended = apps.reap(quitter, 20000, &status);
        });
        window->menu_procQuit();
        QVERIFY(ended);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(rowOfPid(list, quitter), -1);
        QVERIFY(rowOfPid(list, other) >= 0);
        QCOMPARE(list->currentItem(), 0);
    }

    void quitIgnoredKeepsTheRow()
    {
        AppChildGroup apps;
        const pid_t stubborn = apps.start({"/usr/SYSqtapp/notes/notes"}, AppChildGroup::IgnoreQuit);
        QVERIFY(stubborn > 0);
        window->buildProcList();
        select(stubborn);
        Listener listener(appChannel(stubborn));
        window->menu_procQuit();
        QVERIFY(rowOfPid(window->procListBox, stubborn) >= 0);
        QVERIFY(procExists(stubborn));
        QCOMPARE(listener.messagesUntilMarker(), (QList<QByteArray>{"quickQuit()", "marker()"}));
    }

    void killRemovesRowAndTask()
    {
        AppChildGroup apps;
        const pid_t victim = apps.start({"/usr/SYSqtapp/calc/calc"});
        QVERIFY(victim > 0);
        window->buildProcList();
        select(victim);
        LogCapture log;
        window->menu_procKill();
        const QStringList lines = log.finish();
        int status = -1;
        QVERIFY(apps.reap(victim, 20000, &status));
        QVERIFY(WIFSIGNALED(status));
        QCOMPARE(WTERMSIG(status), SIGKILL);
        QCOMPARE(lines, QStringList{QStringLiteral("Killed a pid [%1]").arg(victim)});
        QCOMPARE(rowOfPid(window->procListBox, victim), -1);
        if (window->procListBox->count() > 0)
            QCOMPARE(window->procListBox->currentItem(), 0);
    }

    // Settings saved from the menu: the list is built again with the task
    // that was highlighted still highlighted (row 0 once it has gone), and
    // the monitor tab's titles keep the font they were made with.
    void savedSettingsKeepTheHighlight()
    {
        AppChildGroup apps;
        const pid_t middle = apps.start({"/usr/SYSqtapp/notes/notes"});
        const pid_t last = apps.start({"/usr/SYSqtapp/clock/clock"});
        QVERIFY(apps.start({"/usr/SYSqtapp/calc/calc"}) > 0 && middle > 0 && last > 0);
        const QFont titleFont = window->cpuTitleLabel->font();
        ZConfig cfg(configFilePath());
        cfg.writeEntry(QStringLiteral("Font"), QStringLiteral("ListFontSize"), gSettings->listFontSize + 4);
        QVERIFY(cfg.flush());
        const auto saveSettings = [this] {
            whenShown<ZAppSetting>([] { return qobject_cast<ZAppSetting*>(QApplication::activeModalWidget()); },
                                   [](ZAppSetting* dialog) { dialog->softKey()->click(ZSoftKey::Left); });
            window->menu_appSetting();
        };
        window->showList();
        for (const pid_t pid : {middle, last}) {
            select(pid);
            const bool gone = pid == last && ::kill(pid, SIGKILL) == 0 && apps.reap(pid, 20000);
            saveSettings();
            QCOMPARE(window->procListBox->currentItem(), gone ? 0 : rowOfPid(window->procListBox, pid));
            QCOMPARE(rowOfPid(window->procListBox, pid) < 0, gone);
        }
        QVERIFY(rowOfPid(window->procListBox, middle) > 0);
        QCOMPARE(window->cpuTitleLabel->font(), titleFont);
        QFile::remove(configFilePath());
        gSettings->loadSettings();
    }

    void killOfATaskThatHasGone()
    {
        const pid_t gone = startChild({"/usr/bin/gone"});
        QVERIFY(gone > 0);
        window->procListBox->clear();
        window->addProcItem(gone, QStringLiteral("gone"), false);
        window->addProcItem(gone + 100000, QStringLiteral("other"), false);
        stopChild(gone);
        select(gone);
        LogCapture log;
        window->menu_procKill();
        const QStringList lines = log.finish();
        QCOMPARE(lines, QStringList{QStringLiteral("Error when kill a pid [%1]").arg(gone)});
        QCOMPARE(rowOfPid(window->procListBox, gone), -1);
        QCOMPARE(window->procListBox->currentItem(), 0);
    }

    void refusedKillKeepsTheRow()
    {
        if (getuid() != 0)
            QSKIP("needs root: the task manager has to run as another user than the task it kills");
        ChildGroup children;
        const pid_t target = children.start({"/usr/SYSqtapp/phone/phone"});
        QVERIFY(target > 0);
        window->procListBox->clear();
        window->addProcItem(target, QStringLiteral("phone"), false);
        select(target);

        // The task manager, as a user that may not signal root's task.
        LogCapture log;
        const int code = exitCodeAsNobody([this, target] {
            window->menu_procKill();
            return rowOfPid(window->procListBox, target) == 0 ? 0 : 1;
        });
        const QStringList lines = log.finish();
        QCOMPARE(code, 0);
        QCOMPARE(lines, QStringList{QStringLiteral("Error when kill a pid [%1]").arg(target)});
        QVERIFY(procExists(target));
    }

    void priority()
    {
        ChildGroup children;
        const pid_t pid = children.start({"/usr/bin/prio"});
        QVERIFY(pid > 0);
        QCOMPARE(setpriority(PRIO_PROCESS, static_cast<id_t>(pid), 3), 0);
        window->procListBox->clear();
        window->addProcItem(pid, QStringLiteral("prio"), false);
        window->procListBox->setCurrentItem(0);
        const std::function<ZNumSelect*()> picker = [this] { return window->findChild<ZNumSelect*>(); };
        const auto nice = [pid] { return getpriority(PRIO_PROCESS, static_cast<id_t>(pid)); };

        // Confirmed unchanged: the value read is set again, even though the
        // task's priority changed while the picker was open.
        int shown = 99;
        QString label;
        whenShown<ZNumSelect>(picker, [&](ZNumSelect* p) {
            shown = p->value();
            label = p->label()->text();
            setpriority(PRIO_PROCESS, static_cast<id_t>(pid), 7);
            p->softkeyButton(0)->click();
        });
        window->menu_procPrioritet();
        QCOMPARE(shown, 3);
        QCOMPARE(label, QStringLiteral("Priority: 3"));
        QCOMPARE(nice(), 3);
        QVERIFY(!picker());

        // Cancelled: nothing is set.
        whenShown<ZNumSelect>(picker, [&](ZNumSelect* p) {
            setpriority(PRIO_PROCESS, static_cast<id_t>(pid), 7);
            p->slider()->getSlider()->setValue(-5);
            p->softkeyButton(1)->click();
        });
        window->menu_procPrioritet();
        QCOMPARE(nice(), 7);

        // The slider's value is taken.
        whenShown<ZNumSelect>(picker, [&](ZNumSelect* p) {
            p->slider()->getSlider()->setValue(-5);
            p->softkeyButton(0)->click();
        });
        window->menu_procPrioritet();
        QCOMPARE(nice(), -5);
    }

    void showRaisesAndLeaves()
    {
        AppChildGroup apps;
        const pid_t app = apps.start({"/usr/SYSqtapp/calc/calc"});
        QVERIFY(app > 0);
        window->buildProcList();
        select(app);
        Listener listener(appChannel(app));
        LogCapture log;
        window->menu_procShow();
        const QStringList lines = log.finish();
        QCOMPARE(listener.messagesUntilMarker(), (QList<QByteArray>{"raise()", "marker()"}));
        QVERIFY(lines.contains(QStringLiteral("App [%1] show").arg(app)));
        QVERIFY(lines.contains(QStringLiteral("Quit:isDaemon")));
        QVERIFY(window->isHidden());
    }

    void showOfATaskThatHasGone()
    {
        const pid_t gone = startChild({"/usr/bin/gone"});
        QVERIFY(gone > 0);
        stopChild(gone);
        window->procListBox->clear();
        window->addProcItem(gone, QStringLiteral("gone"), false);
        Listener listener(appChannel(gone));
        window->lbProcSel(0);
        QCOMPARE(listener.messagesUntilMarker(), (QList<QByteArray>{"raise()", "marker()"}));
        QVERIFY(window->isHidden());
    }

    void hideAll_data()
    {
        QTest::addColumn<bool>("goToIdle");
        QTest::addColumn<bool>("raisePhone");
        QTest::addColumn<bool>("phoneFound");
        QTest::newRow("defaults") << false << true << true;
        QTest::newRow("idle and phone") << true << true << true;
        QTest::newRow("idle only") << true << false << true;
        QTest::newRow("neither") << false << false << true;
        QTest::newRow("no phone") << false << true << false;
    }

    void hideAll()
    {
        QFETCH(bool, goToIdle);
        QFETCH(bool, raisePhone);
        QFETCH(bool, phoneFound);
        AppChildGroup apps;
        if (phoneFound)
            QVERIFY(apps.start({"/usr/SYSqtapp/phone/phone"}) > 0);
        window->buildProcList();
        QCOMPARE(window->pidPhone != 0, phoneFound);
        gSettings->sendGoToIdle = goToIdle;
        gSettings->sendRaisePhone = raisePhone;

        Listener system("EZX/System");
        Listener phone(appChannel(window->pidPhone));
        LogCapture log;
        window->hideAllApps();
        const QStringList lines = log.finish();
        QCOMPARE(lines, QStringList{QStringLiteral("Miniumized all app")});

        const QList<QByteArray> idle{"ReturnToIdle(int)", "marker()"};
        const QList<QByteArray> raise{"raise()", "marker()"};
        const QList<QByteArray> none{"marker()"};
        QCOMPARE(system.messagesUntilMarker(), goToIdle ? idle : none);
        if (goToIdle)
            QCOMPARE(system.spy.first().at(1).toByteArray(), QByteArray::fromHex("ffffec75"));
        QCOMPARE(phone.messagesUntilMarker(), raisePhone ? raise : none);
        QVERIFY(window->isVisible());
    }

    void redKeyLeaves()
    {
        struct KeyCounter : QObject
        {
            int presses = 0;
            bool eventFilter(QObject*, QEvent* e) override
            {
                presses += e->type() == QEvent::KeyPress;
                return false;
            }
        } counter;
        window->procListBox->installEventFilter(&counter);
        QTest::keyPress(window->procListBox, Qt::Key_F2);
        window->procListBox->removeEventFilter(&counter);
        QCOMPARE(counter.presses, 0);
        QVERIFY(window->isHidden());
    }

    void greenKeyOpensDetails()
    {
        ChildGroup children;
        const pid_t pid = children.start({"/mmc/mmca1/apps/viewer"});
        QVERIFY(pid > 0);
        window->procListBox->clear();
        window->addProcItem(pid, QStringLiteral("viewer"), false);
        window->procListBox->setCurrentItem(0);

        InfoDialogCloser closer;
        QTest::keyRelease(window->procListBox, Qt::Key_F1);
        runKeyActions();
        QTRY_COMPARE(*closer.pidLines, QStringList{QStringLiteral("Pid: %1").arg(pid)});
        // One key, one dialog.
        runKeyActions();
        QCOMPARE(closer.pidLines->size(), 1);

        // Off: the green key is left to the list.
        gSettings->showInfoByGreen = false;
        QTest::keyRelease(window->procListBox, Qt::Key_F1);
        runKeyActions();
        QCOMPARE(closer.pidLines->size(), 1);
    }

    void clearKey_data()
    {
        QTest::addColumn<int>("actionOnC");
        QTest::addColumn<bool>("onTaskList");
        QTest::addColumn<bool>("taskEnds");
        QTest::newRow("nothing") << 0 << true << false;
        QTest::newRow("kill") << 1 << true << true;
        QTest::newRow("quit") << 2 << true << true;
        QTest::newRow("other value") << 3 << true << false;
        QTest::newRow("favourites list") << 1 << false << false;
    }

    void clearKey()
    {
        QFETCH(int, actionOnC);
        QFETCH(bool, onTaskList);
        QFETCH(bool, taskEnds);
        gSettings->actionOnC = actionOnC;
        AppChildGroup apps;
        const pid_t pid = apps.start({"/usr/SYSqtapp/calc/calc"}, AppChildGroup::ExitOnQuit);
        QVERIFY(pid > 0);
        window->buildProcList();
        select(pid);
        // The task ends once it has been asked to (awaited here, while the
        // action waits for it).
        bool ended = false;
        QCopChannel watch(appChannel(pid));
        connect(&watch, &QCopChannel::received, this, [&](const QByteArray& message) {
            if (message == "quickQuit()")
                ended = apps.reap(pid, 20000);
        });
        QTest::keyRelease(onTaskList ? static_cast<QWidget*>(window->procListBox) : window->appListBox, Qt::Key_F3);
        runKeyActions();
        if (actionOnC == 1 && taskEnds)
            ended = apps.reap(pid, 20000);
        QCOMPARE(ended, taskEnds);
        QCOMPARE(rowOfPid(window->procListBox, pid) < 0, taskEnds);
        QCOMPARE(procExists(pid), !taskEnds);
    }

    void monitorFocusGoesToTabs()
    {
        QVERIFY(window->monitorPage);
        QApplication::setActiveWindow(window);
        QFocusEvent in(QEvent::FocusIn);
        QApplication::sendEvent(window->monitorPage, &in);
        QCOMPARE(window->focusWidget(), static_cast<QWidget*>(window->tabWidget));
    }
};
ZK_TEST(TaskActionsWindowTest)
#include "taskactions_window_test.moc"
