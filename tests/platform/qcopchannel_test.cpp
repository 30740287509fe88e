// QCopChannel inside one process, against the test's private session bus.

#include "platform/qcopchannel.h"
#include "tests/common/ztest.h"

#include <QDataStream>
#include <QSignalSpy>

#include <memory>

namespace {

QByteArray intData(qint32 value)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << value;
    return data;
}

}

class QCopChannelTest : public QObject
{
    Q_OBJECT
private slots:
    void busNameIsPrefixAndLowercaseHex()
    {
        QCOMPARE(QCopChannel::busName("PE/zKestrel/"), QStringLiteral("org.qcop.c50452f7a4b65737472656c2f"));
        QCOMPARE(QCopChannel::busName("EZX/\xe9"), QStringLiteral("org.qcop.c455a582fe9"));
    }

    void objectRegistersWhileItLives()
    {
        const QByteArray channel = "zk.test/lives";
        QVERIFY(!QCopChannel::isRegistered(channel));
        auto object = std::make_unique<QCopChannel>(channel, nullptr, "inbox");
        QVERIFY(object->isListening());
        QCOMPARE(object->channel(), channel);
        QCOMPARE(object->objectName(), QStringLiteral("inbox"));
        QVERIFY(QCopChannel::isRegistered(channel));
        object.reset();
        QVERIFY(!QCopChannel::isRegistered(channel));
    }

    void unknownChannelIsNotRegistered()
    {
        QVERIFY(!QCopChannel::isRegistered("zk.test/nobody-listens-here"));
    }

    void nameIsKeptUntilTheLastObjectGoes()
    {
        const QByteArray channel = "zk.test/shared";
        auto first = std::make_unique<QCopChannel>(channel);
        auto second = std::make_unique<QCopChannel>(channel);
        QVERIFY(QCopChannel::isRegistered(channel));
        first.reset();
        QVERIFY(QCopChannel::isRegistered(channel));

        // The remaining object still receives after the first one left.
        QSignalSpy spy(second.get(), &QCopChannel::received);
        QVERIFY(QCopChannel::send(channel, "still()"));
        QTRY_COMPARE(spy.count(), 1);

        second.reset();
        QVERIFY(!QCopChannel::isRegistered(channel));

        // And a new object takes the channel up again.
        QCopChannel third(channel);
        QVERIFY(third.isListening());
        QVERIFY(QCopChannel::isRegistered(channel));
    }

    void everyObjectOfTheChannelReceivesTheMessage()
    {
        const QByteArray channel = "/hardkey/bc";
        QCopChannel a(channel);
        QCopChannel b(channel);
        QSignalSpy spyA(&a, &QCopChannel::received);
        QSignalSpy spyB(&b, &QCopChannel::received);
        const QByteArray data = intData(4159) + intData(1);

        QVERIFY(QCopChannel::send(channel, "keyMsg(int,int)", data));
        // Delivered by the event loop, never from inside send().
        QCOMPARE(spyA.count(), 0);

        QTRY_COMPARE(spyA.count(), 1);
        QTRY_COMPARE(spyB.count(), 1);
        for (QSignalSpy* spy : {&spyA, &spyB}) {
            QCOMPARE(spy->at(0).at(0).toByteArray(), QByteArray("keyMsg(int,int)"));
            QCOMPARE(spy->at(0).at(1).toByteArray(), QByteArray::fromHex("0000103f00000001"));
        }
    }

    void channelsAreKeptApart_data()
    {
        QTest::addColumn<QByteArray>("listened");
        QTest::addColumn<QByteArray>("other");
        QTest::newRow("prefix") << QByteArray("zk.test/a") << QByteArray("zk.test/ab");
        QTest::newRow("longer") << QByteArray("zk.test/ab") << QByteArray("zk.test/a");
        QTest::newRow("apostrophe") << QByteArray("zk.test/it's") << QByteArray("zk.test/its");
        QTest::newRow("apostrophe other") << QByteArray("zk.test/its") << QByteArray("zk.test/it's");
    }

    void channelsAreKeptApart()
    {
        QFETCH(QByteArray, listened);
        QFETCH(QByteArray, other);
        QCopChannel listener(listened);
        QCopChannel neighbour(other);
        QVERIFY(listener.isListening());
        QSignalSpy spy(&listener, &QCopChannel::received);

        // Messages of one sender arrive in order: once the marker is in,
        // anything sent on the other channel before it would be too.
        QVERIFY(QCopChannel::send(other, "notForYou()"));
        QVERIFY(QCopChannel::send(listened, "marker()"));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toByteArray(), QByteArray("marker()"));
    }

    void manyMessagesArriveInOrder()
    {
        const QByteArray channel = "zk.test/order";
        QCopChannel listener(channel);
        QSignalSpy spy(&listener, &QCopChannel::received);
        const int count = 300;
        for (int i = 0; i < count; ++i)
            QVERIFY(QCopChannel::send(channel, i % 2 ? "odd(int)" : "even(int)", intData(i)));
        QTRY_COMPARE(spy.count(), count);
        for (int i = 0; i < count; ++i) {
            QCOMPARE(spy.at(i).at(0).toByteArray(), QByteArray(i % 2 ? "odd(int)" : "even(int)"));
            QCOMPARE(spy.at(i).at(1).toByteArray(), intData(i));
        }
    }

    void latin1NamesAndBinaryDataSurvive()
    {
        const QByteArray channel = "zk.test/caf\xe9";
        const QByteArray message = "gr\xfc\xdf(QByteArray)";
        const QByteArray data("\x00\xff\x00\x7f", 4);
        QCopChannel listener(channel);
        QSignalSpy spy(&listener, &QCopChannel::received);
        QVERIFY(QCopChannel::send(channel, message, data));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toByteArray(), message);
        QCOMPARE(spy.at(0).at(1).toByteArray(), data);
    }

    void unusableChannelsAreNeverRegistered_data()
    {
        QTest::addColumn<QByteArray>("channel");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("too long") << QByteArray(123, 'x');
        QTest::newRow("NUL byte") << QByteArray("zk.test/\0x", 10);
    }

    void unusableChannelsAreNeverRegistered()
    {
        QFETCH(QByteArray, channel);
        QCopChannel object(channel);
        QVERIFY(!object.isListening());
        QVERIFY(!QCopChannel::isRegistered(channel));
    }

    void longestChannelStillFits()
    {
        // 10 + 2 * 122 = 254 characters: within D-Bus's 255.
        const QByteArray channel(122, 'y');
        QCopChannel object(channel);
        QVERIFY(object.isListening());
        QVERIFY(QCopChannel::isRegistered(channel));
    }

    void sendRefusesWhatTheBusCannotCarry()
    {
        QCopChannel listener("zk.test/nul");
        QSignalSpy spy(&listener, &QCopChannel::received);
        QVERIFY(!QCopChannel::send("zk.test/nul", QByteArray("bad\0()", 6)));
        QVERIFY(!QCopChannel::send(QByteArray(), "empty()"));
        QVERIFY(QCopChannel::send("zk.test/nul", "good()"));
        QTRY_COMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toByteArray(), QByteArray("good()"));
    }
};

ZK_TEST(QCopChannelTest)

#include "qcopchannel_test.moc"
