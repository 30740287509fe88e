// Processes with a window as application channels, on the test's bus, with
// the screen played by a recorder of what would be asked of it.
#include "desktop/appchannels.h"
#include "desktop/windowtasks.h"
#include "platform/qcopchannel.h"
#include "tests/common/ztest.h"

#include <QProcess>

using namespace zk::desktop;

namespace {
struct Recorder : WindowActions
{
    QList<quint32> activated, closed, stack;
    void activate(quint32 w) override { activated << w; }
    void close(quint32 w) override { closed << w; }
    QList<quint32> stacking() override { return stack; }
};

QByteArray channelOf(qint64 pid)
{
    return "EZX/Application/" + QByteArray::number(pid);
}
}

class AppChannelsTest : public QObject
{
    Q_OBJECT
private slots:
    void windowsOfThisHostByPid()
    {
        const QList<ClientWindow> clients{{1, 500, "box"}, {2, 500, "box.example.org"}, {3, 600, "other"}, {4, 0, "box"}, {5, 700, ""}, {6, 800, "box.other.org"}, {7, 900, "boxer.example"}};
        const QMap<qint64, QList<quint32>> expected{{500, {1, 2}}};
        QCOMPARE(windowsByPid(clients, "box.example.org"), expected);
        QVERIFY(isThisHost("box", "box.example.org"));
        QVERIFY(!isThisHost("box.other.org", "box.example.org"));
        QCOMPARE(windowToRaise({4, 7, 9}, {9, 1, 7, 4, 2}), 4u);
        QCOMPARE(windowToRaise({4, 7}, {}), 7u);
    }

    // A channel per process with a window: raise() brings its top window
    // forward, quickQuit() asks every one of its windows to close, and the
    // channel goes with the last window.
    void aProcessWithWindowsAnswersOnItsChannel()
    {
        Recorder screen;
        AppChannels channels(screen);
        QProcess sleeper;
        sleeper.start(QStringLiteral("sleep"), {QStringLiteral("60")});
        QVERIFY(sleeper.waitForStarted());
        const qint64 pid = sleeper.processId();
        channels.follow({{pid, {10, 11}}, {QCoreApplication::applicationPid(), {12}}});
        QVERIFY(QCopChannel::isRegistered(channelOf(pid)));
        QCOMPARE(channels.heldPids(), QList<qint64>{pid});

        screen.stack = {11, 10, 30};
        QCopChannel::send(channelOf(pid), "raise()");
        QTRY_COMPARE(screen.activated, QList<quint32>{10});
        QCopChannel::send(channelOf(pid), "quickQuit()");
        QTRY_COMPARE(screen.closed, QList<quint32>({10, 11}));

        channels.follow({});
        QTRY_VERIFY(!QCopChannel::isRegistered(channelOf(pid)));
        sleeper.kill();
        sleeper.waitForFinished();
    }

    // A program that listens on its own channel answers for itself.
    void anApplicationsOwnChannelIsLeftToIt()
    {
        QProcess app;
        app.start(QStringLiteral(ZK_BIN_DIR "/zk_appchild"));
        QVERIFY(app.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QCopChannel::isRegistered(channelOf(app.processId())), 10000);
        Recorder screen;
        AppChannels channels(screen);
        channels.follow({{app.processId(), {20}}});
        QVERIFY(channels.heldPids().isEmpty());
        QCopChannel::send(channelOf(app.processId()), "raise()");
        QTest::qWait(300);
        QVERIFY(screen.activated.isEmpty());
        app.kill();
        app.waitForFinished();
    }
};

ZK_TEST(AppChannelsTest)

#include "appchannels_test.moc"
