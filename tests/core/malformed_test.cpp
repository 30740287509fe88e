// Malformed messages on every channel a resident zKestrel listens on: wrong
// argument lists, data too short, too long or of the wrong type, names with
// control bytes, characters beyond Latin-1 or no parentheses. Each must be
// ignored (or only logged), and the next valid message must still work.
#include "tests/common/ztest.h"
#include "tests/core/rawqcop.h"
#include "tests/core/residentrig.h"

#include "platform/qcopchannel.h"

#include <QDBusConnection>
#include <QDataStream>
#include <QRandomGenerator>

#include <cstdio>

namespace {
constexpr qint32 kPopUpKey = 4159;
constexpr int kMegabyte = 1024 * 1024;

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, '\0');
    QRandomGenerator generator(size);
    for (char& b : bytes)
        b = static_cast<char>(generator.bounded(256));
    return bytes;
}

// Argument lists that are not (s channel, s message, ay data).
QList<QVariantList> wrongShapes(const QString& channel)
{
    const QByteArray key = rawqcop::keyData(kPopUpKey, 1);
    return {{},
            {channel},
            {channel, QStringLiteral("show()")},
            {channel, QStringLiteral("show()"), QStringLiteral("data as text")},
            {channel, QStringLiteral("keyMsg(int,int)"), key, 1},
            {channel, QStringLiteral("show()"), QByteArray(), QByteArray()},
            {channel, 7, key},
            {channel, QStringLiteral("keyMsg(int,int)"), QVariant::fromValue(QList<int>{kPopUpKey, 1})},
            {7, QStringLiteral("show()"), QByteArray()}};
}

// Names that none of the channels answers.
QStringList badNames()
{
    return {QString(),
            QStringLiteral("show"),
            QStringLiteral("newshow"),
            QStringLiteral("keyMsg"),
            QStringLiteral("raise"),
            QStringLiteral("quickQuit"),
            QStringLiteral("ReturnToIdle"),
            QStringLiteral("show()\n"),
            QStringLiteral("\nshow()"),
            QStringLiteral("show()\x7f"),
            QStringLiteral("\x01\x02\x03\x1f"),
            QStringLiteral("show\u0100()"),
            QStringLiteral("\u4e00\u4e8c()"),
            QStringLiteral("\ufffd\ufffd"),
            QString::fromLatin1("\xe9\xff()"),
            QString(4096, QLatin1Char('('))};
}

// keyMsg(int,int) data that holds no pop-up key press: too short, of the
// wrong type, or huge.
QList<QByteArray> badKeyData()
{
    const QByteArray key = rawqcop::keyData(kPopUpKey, 1);
    QList<QByteArray> data;
    for (int n = 0; n < 8; ++n)
        data << key.left(n);
    QByteArray text;
    QDataStream out(&text, QIODevice::WriteOnly);
    out << QStringLiteral("4159,1");
    data << text << QByteArray(kMegabyte, '\0') << randomBytes(kMegabyte).prepend(rawqcop::keyData(1, 1));
    return data;
}
}

class MalformedMessagesTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ResidentRig> m_resident;
    int m_sent = 0;

    QString appChannel() const { return QStringLiteral("EZX/Application/%1").arg(m_resident->pid()); }
    QStringList channels() const { return {QStringLiteral("PE/zKestrel/"), QStringLiteral("/hardkey/bc"), appChannel()}; }

    // Every malformed message on every channel; all reach the daemon.
    void sendAllMalformed(bool withReturnToIdle)
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        auto send = [this, &bus](const QDBusMessage& m) {
            QVERIFY(bus.send(m));
            ++m_sent;
        };
        for (const QString& channel : channels()) {
            for (const QVariantList& args : wrongShapes(channel))
                send(rawqcop::signalWith(args));
            for (const QString& name : badNames()) {
                send(rawqcop::message(channel, name));
                send(rawqcop::message(channel, name, rawqcop::keyData(kPopUpKey, 1)));
            }
            send(rawqcop::message(channel, QStringLiteral("junk()"), randomBytes(kMegabyte)));
            for (const QByteArray& data : badKeyData())
                send(rawqcop::message(channel, QStringLiteral("keyMsg(int,int)"), data));
            if (withReturnToIdle) {
                for (int n = 0; n < 4; ++n)
                    send(rawqcop::message(channel, QStringLiteral("ReturnToIdle(int)"), QByteArray(n, '\x01')));
            }
        }
        QVERIFY(rawqcop::confirmDelivery(bus));
    }

    // A key that only logs, sent last: once its line is there, everything
    // before it has been handled.
    int marker(int code)
    {
        if (!QCopChannel::send("/hardkey/bc", "keyMsg(int,int)", rawqcop::keyData(code, 1)))
            return -1;
        return m_resident->waitForLine(QStringLiteral("Key %1, type 1").arg(code), 0, 120000);
    }

private slots:
    void init()
    {
        QTRY_VERIFY_WITH_TIMEOUT(!QCopChannel::isRegistered("PE/zKestrel/"), 10000);
        m_resident = std::make_unique<ResidentRig>();
        QVERIFY(m_resident->start());
        QTRY_VERIFY_WITH_TIMEOUT(QCopChannel::isRegistered("PE/zKestrel/"), 15000);
        m_sent = 0;
    }

    void cleanup()
    {
        if (m_resident && m_resident->running()) {
            QCopChannel::send(appChannel().toLatin1(), "quickQuit()");
            QVERIFY(m_resident->waitForExit(15000));
            QCOMPARE(m_resident->exitStatus(), QProcess::NormalExit);
            QCOMPARE(m_resident->exitCode(), 0);
        }
        m_resident.reset();
    }

    void ignoredWithoutWindow()
    {
        const qint64 rssBefore = m_resident->rssKb();
        sendAllMalformed(false);
        if (QTest::currentTestFailed())
            return;
        const int done = marker(7);
        QVERIFY2(done >= 0, "no answer after the malformed messages");
        QVERIFY(m_resident->running());
        // Nothing of it was a pop-up request.
        QCOMPARE(m_resident->findLine(QStringLiteral("CreateWindow")), -1);
        // Short key data is never a key press; what was read is logged.
        QCOMPARE(m_resident->countLines(QStringLiteral("Key 4159, type 1")), 0);
        // The megabyte of data behind a key was read, on both key channels.
        QCOMPARE(m_resident->countLines(QStringLiteral("Key 1, type 1")), 2);
        const qint64 rssAfter = m_resident->rssKb();
        std::printf("FIGURES malformed, no window: %d messages, %d log lines, VmRSS %lld KiB before, %lld after\n",
                    m_sent, done + 1, static_cast<long long>(rssBefore), static_cast<long long>(rssAfter));
        QVERIFY(rssAfter < 2 * rssBefore + 32 * 1024);

        // A valid request after all that still works.
        QVERIFY(QCopChannel::send("PE/zKestrel/", "show()"));
        QVERIFY(m_resident->waitForLine(QStringLiteral("CreateWindow: end"), done) > done);
    }

    void ignoredWithWindowOnScreen()
    {
        QVERIFY(QCopChannel::send("PE/zKestrel/", "show()"));
        const int created = m_resident->waitForLine(QStringLiteral("CreateWindow: end"));
        QVERIFY(created >= 0);
        sendAllMalformed(true);
        if (QTest::currentTestFailed())
            return;
        const int done = marker(8);
        QVERIFY2(done >= 0, "no answer after the malformed messages");
        QVERIFY(m_resident->running());
        std::printf("FIGURES malformed, window on screen: %d messages, %d log lines\n", m_sent, done - created);
        QCOMPARE(m_resident->countLines(QStringLiteral("CreateWindow: end")), 1);

        // The window still answers: hidden by the system, back on request.
        QVERIFY(QCopChannel::send(appChannel().toLatin1(), "ReturnToIdle(int)", rawqcop::intData(42)));
        const int hidden = m_resident->waitForLine(QStringLiteral("slot_ReturnToIdle(42)"), done);
        QVERIFY(hidden > done);
        QVERIFY(QCopChannel::send("PE/zKestrel/", "show()"));
        QVERIFY(m_resident->waitForLine(QStringLiteral("showList: end"), hidden) > hidden);
        QCOMPARE(m_resident->countLines(QStringLiteral("CreateWindow: end")), 1);
    }

    void peerCannotFakeTheBusLoss()
    {
        // The loss is a signal libdbus makes up inside the process; a copy
        // from a peer must not count. A connection of its own sends them, as
        // the daemon may drop a peer that tries.
        QDBusConnection peer = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("faker"));
        QVERIFY(peer.isConnected());
        const QString local = QStringLiteral("org.freedesktop.DBus.Local");
        QDBusMessage fake =
            QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/DBus/Local"), local, QStringLiteral("Disconnected"));
        peer.send(fake);
        QDBusMessage direct = QDBusMessage::createTargetedSignal(
            QCopChannel::busName("PE/zKestrel/"), QStringLiteral("/org/freedesktop/DBus/Local"), local,
            QStringLiteral("Disconnected"));
        peer.send(direct);
        peer.send(QDBusMessage::createSignal(QStringLiteral("/qcop"), local, QStringLiteral("Disconnected")));
        rawqcop::confirmDelivery(peer);
        QDBusConnection::disconnectFromBus(QStringLiteral("faker"));

        const int done = marker(10);
        QVERIFY(done >= 0);
        QCOMPARE(m_resident->findLine(QStringLiteral("busLost")), -1);
        QVERIFY(m_resident->running());
    }

    void namesWithNulAreRefusedBySender()
    {
        // The bus carries text without NUL; the sender refuses such names
        // instead of cutting them short into something else.
        QVERIFY(!QCopChannel::send("PE/zKestrel/", QByteArray("show()\0junk", 11)));
        QVERIFY(!QCopChannel::send("PE/zKestrel/", QByteArray("\0show()", 7)));
        QVERIFY(!QCopChannel::send(QByteArray("PE/zKestrel/\0", 13), "show()"));
        const int done = marker(9);
        QVERIFY(done >= 0);
        QCOMPARE(m_resident->findLine(QStringLiteral("CreateWindow")), -1);
    }
};

ZK_TEST(MalformedMessagesTest)
#include "malformed_test.moc"
