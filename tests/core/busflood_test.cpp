// A flood of messages on every channel a resident zKestrel listens on:
// junk mixed with valid requests that do no harm. Afterwards it must still
// answer, hold one window, have kept the guard after a key pop-up, and its
// memory must have come back down.
#include "tests/common/ztest.h"
#include "tests/core/rawqcop.h"
#include "tests/core/residentrig.h"

#include "platform/qcopchannel.h"

#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QElapsedTimer>

#include <cstdio>

namespace {
// Under AddressSanitizer freed blocks wait in its quarantine (and the
// resident is built the same way as this test): its memory says nothing
// about what the program keeps, so only the behaviour is checked there.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitizedAllocator = true;
#else
constexpr bool kSanitizedAllocator = false;
#endif
const QString kCommand = QStringLiteral("PE/zKestrel/");
const QString kHardKey = QStringLiteral("/hardkey/bc");
constexpr qint32 kPopUpKey = 4159;

// How many messages each flood has, and how many floods there are:
// 2 x 50,000 unless ZK_FLOOD_MESSAGES and ZK_FLOOD_ROUNDS say otherwise.
int floodSize()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("ZK_FLOOD_MESSAGES", &ok);
    return ok && n > 0 ? n : 50000;
}
int floodRounds()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("ZK_FLOOD_ROUNDS", &ok);
    return ok && n > 0 ? n : 2;
}

// Less growth of the resident set than this is noise (KiB).
constexpr qint64 kNotableGrowthKb = 16 * 1024;

// Message names that match nothing the program answers.
QStringList junkNames()
{
    return {QStringLiteral("junk()"),
            QString(),
            QStringLiteral("show"),
            QStringLiteral("Show()"),
            QStringLiteral("show() "),
            QStringLiteral(" show()"),
            QStringLiteral("keyMsg(int)"),
            QStringLiteral("keyMsg(int,int) "),
            QStringLiteral("raise"),
            QStringLiteral("quickQuit"),
            QStringLiteral("ReturnToIdle()"),
            QStringLiteral("show()\n"),
            QStringLiteral("\x01\x02\x7f"),
            QString::fromLatin1("\xff\xfe()"),
            QStringLiteral("show\u0100()"),
            QString(1000, QLatin1Char('x'))};
}

// Reasons of the return-to-idle messages in guard group g: the window is
// hidden before the key, hidden again right after it, and once more after a
// show() that the guard must swallow.
qint32 reason(int group, int step)
{
    return 500000 + group * 10 + step;
}
}

class BusFloodTest : public QObject
{
    Q_OBJECT

    struct Flood
    {
        int messages = 0;
        int junk = 0;
        int valid = 0;
        int guardGroups = 0;
    };

    // Sends the flood as fast as this connection takes it.
    // Guard groups are numbered from firstGroup on.
    static Flood sendFlood(QDBusConnection& bus, const QString& app, int size, int firstGroup)
    {
        const QStringList junk = junkNames();
        const QList<QString> channels{kCommand, kHardKey, app};
        const QByteArray someBytes(64, '\x5a');
        Flood f;
        auto send = [&bus, &f](const QDBusMessage& m) {
            bus.send(m);
            ++f.messages;
        };
        for (int i = 0; f.messages < size; ++i) {
            if (i % 1000 == 999 && f.messages + 5 <= size) {
                const int g = firstGroup + f.guardGroups++;
                send(rawqcop::message(app, QStringLiteral("ReturnToIdle(int)"), rawqcop::intData(reason(g, 1))));
                send(rawqcop::message(kHardKey, QStringLiteral("keyMsg(int,int)"), rawqcop::keyData(kPopUpKey, 1)));
                send(rawqcop::message(app, QStringLiteral("ReturnToIdle(int)"), rawqcop::intData(reason(g, 2))));
                send(rawqcop::message(kCommand, QStringLiteral("show()")));
                send(rawqcop::message(app, QStringLiteral("ReturnToIdle(int)"), rawqcop::intData(reason(g, 3))));
                f.valid += 5;
                continue;
            }
            const QString& channel = channels.at(i % channels.size());
            switch (i % 10) {
            case 6:
                send(rawqcop::message(i % 20 < 10 ? kCommand : kHardKey, QStringLiteral("show()")));
                break;
            case 7:
                send(rawqcop::message(channel == app ? kCommand : channel, QStringLiteral("newshow()")));
                break;
            case 8:
                // Keys that only log: another key, and the pop-up key let go.
                send(rawqcop::message(kHardKey, QStringLiteral("keyMsg(int,int)"),
                                      i % 20 < 10 ? rawqcop::keyData(kPopUpKey - 1, 1) : rawqcop::keyData(kPopUpKey, 0)));
                break;
            case 9:
                send(rawqcop::message(app, QStringLiteral("raise()")));
                break;
            default:
                send(rawqcop::message(channel, junk.at(i % junk.size()), i % 3 == 0 ? someBytes : QByteArray()));
                --f.valid;
                ++f.junk;
                break;
            }
            ++f.valid;
        }
        return f;
    }

    // The resident set once it no longer shrinks (bounded wait).
    static qint64 steadyRssKb(ResidentRig& resident)
    {
        QDeadlineTimer deadline(15000);
        qint64 last = resident.rssKb();
        while (!deadline.hasExpired()) {
            QTest::qWait(500);
            const qint64 now = resident.rssKb();
            if (now >= last - 256)
                return qMin(now, last);
            last = now;
        }
        return last;
    }

    // Sends one flood, waits until the resident has handled all of it, and
    // checks the guard groups in it. The figures go to `round`.
    struct Round
    {
        Flood flood;
        qint64 sentMs = 0;
        qint64 answeredMs = 0;
        qint64 cpuTicks = 0;
        qint64 peakKb = 0;
        qint64 settledKb = 0;
        int logLines = 0;
    };
    static void runRound(ResidentRig& resident, const QString& app, int firstGroup, Round& round)
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        const int start = resident.lines().size();
        const qint64 cpuBefore = resident.cpuTicks();
        QElapsedTimer clock;
        clock.start();
        round.flood = sendFlood(bus, app, floodSize(), firstGroup);
        QVERIFY(rawqcop::confirmDelivery(bus));
        round.sentMs = clock.elapsed();

        // Messages are handled in order: the answer to a key sent now comes
        // after the whole flood.
        QVERIFY(QCopChannel::send("/hardkey/bc", "keyMsg(int,int)", rawqcop::keyData(7, 1)));
        const int answer = resident.waitForLine(QStringLiteral("Key 7, type 1"), start, 600000);
        round.answeredMs = clock.elapsed();
        QVERIFY2(answer >= 0, "no answer after the flood");
        QVERIFY(resident.running());
        round.cpuTicks = resident.cpuTicks() - cpuBefore;
        round.peakKb = resident.peakRssKb();
        round.logLines = answer - start;

        // Every guard group: the key brought the hidden window back, and the
        // show() right after it was swallowed.
        int keysObeyed = 0;
        int showsSwallowed = 0;
        for (int g = firstGroup; g < firstGroup + round.flood.guardGroups; ++g) {
            const int hidden = resident.findLine(QStringLiteral("slot_ReturnToIdle(%1)").arg(reason(g, 1)), start);
            const int again = resident.findLine(QStringLiteral("slot_ReturnToIdle(%1)").arg(reason(g, 2)), hidden);
            const int last = resident.findLine(QStringLiteral("slot_ReturnToIdle(%1)").arg(reason(g, 3)), again);
            QVERIFY2(hidden >= 0 && again > hidden && last > again, qPrintable(QStringLiteral("group %1").arg(g)));
            keysObeyed += resident.countLines(QStringLiteral("showList: end"), hidden, again) > 0 ? 1 : 0;
            showsSwallowed += resident.countLines(QStringLiteral("showList"), again, last) == 0 ? 1 : 0;
        }
        QCOMPARE(keysObeyed, round.flood.guardGroups);
        QCOMPARE(showsSwallowed, round.flood.guardGroups);
    }

private slots:
    void floodLeavesItAnsweringWithOneWindowAndBoundedMemory()
    {
        QTRY_VERIFY_WITH_TIMEOUT(!QCopChannel::isRegistered("PE/zKestrel/"), 10000);
        ResidentRig resident;
        QVERIFY(resident.start());
        QTRY_VERIFY_WITH_TIMEOUT(QCopChannel::isRegistered("PE/zKestrel/"), 15000);
        QVERIFY(QCopChannel::send("PE/zKestrel/", "show()"));
        QVERIFY(resident.waitForLine(QStringLiteral("CreateWindow: end")) >= 0);
        const QString app = QStringLiteral("EZX/Application/%1").arg(resident.pid());
        // One hide and show first, so that the memory before counts a rescan.
        QVERIFY(QCopChannel::send(app.toLatin1(), "ReturnToIdle(int)", rawqcop::intData(1)));
        QVERIFY(resident.waitForLine(QStringLiteral("slot_ReturnToIdle(1)")) >= 0);
        QVERIFY(QCopChannel::send("PE/zKestrel/", "show()"));
        QVERIFY(resident.waitForLine(QStringLiteral("showList: end")) >= 0);
        const qint64 rssBefore = resident.rssKb();
        QVERIFY(rssBefore > 0);

        QList<Round> rounds(floodRounds());
        int groups = 0;
        for (int r = 0; r < rounds.size(); ++r) {
            Round& round = rounds[r];
            runRound(resident, app, groups, round);
            if (QTest::currentTestFailed())
                return;
            groups += round.flood.guardGroups;
            // One window all along.
            QCOMPARE(resident.countLines(QStringLiteral("CreateWindow: end")), 1);

            // The queued messages are freed once handled, and the memory
            // goes back to the system when the program is idle again.
            const qint64 target = 2 * rssBefore + kNotableGrowthKb;
            round.settledKb = steadyRssKb(resident);
            std::printf("FIGURES flood round %d: %d messages (%d junk, %d valid, %d guard groups) sent in %lld ms, "
                        "all handled after %lld ms; %lld CPU ticks; VmRSS %lld KiB before, peak %lld KiB, "
                        "%lld KiB once idle; %d log lines\n",
                        r + 1, round.flood.messages, round.flood.junk, round.flood.valid, round.flood.guardGroups,
                        static_cast<long long>(round.sentMs), static_cast<long long>(round.answeredMs),
                        static_cast<long long>(round.cpuTicks), static_cast<long long>(rssBefore),
                        static_cast<long long>(round.peakKb), static_cast<long long>(round.settledKb),
                        round.logLines);
            std::fflush(stdout);
            if (kSanitizedAllocator)
                continue;
            QVERIFY2(round.settledKb <= target,
                     qPrintable(QStringLiteral("VmRSS %1 KiB once idle, peak %2 KiB, %3 KiB before")
                                    .arg(round.settledKb)
                                    .arg(round.peakKb)
                                    .arg(rssBefore)));
            // Nothing is kept per message: another flood ends where the
            // first one did.
            QVERIFY2(round.settledKb <= rounds.first().settledKb + kNotableGrowthKb,
                     qPrintable(QStringLiteral("VmRSS %1 KiB after round %2, %3 KiB after the first")
                                    .arg(round.settledKb)
                                    .arg(r + 1)
                                    .arg(rounds.first().settledKb)));
        }

        // Still the same program: the pop-up key brings the window back.
        const int before = resident.lines().size();
        QVERIFY(QCopChannel::send(app.toLatin1(), "ReturnToIdle(int)", rawqcop::intData(2)));
        const int hidden = resident.waitForLine(QStringLiteral("slot_ReturnToIdle(2)"), before);
        QVERIFY(hidden >= 0);
        QVERIFY(QCopChannel::send("/hardkey/bc", "keyMsg(int,int)", rawqcop::keyData(kPopUpKey, 1)));
        QVERIFY(resident.waitForLine(QStringLiteral("showList: end"), hidden) >= 0);
        QCOMPARE(resident.countLines(QStringLiteral("CreateWindow: end")), 1);

        QVERIFY(QCopChannel::send(app.toLatin1(), "quickQuit()"));
        QVERIFY(resident.waitForExit(15000));
        QCOMPARE(resident.exitStatus(), QProcess::NormalExit);
        QCOMPARE(resident.exitCode(), 0);
    }
};

ZK_TEST(BusFloodTest)
#include "busflood_test.moc"
