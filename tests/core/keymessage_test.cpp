// decodeKeyMessage: the data of "keyMsg(int,int)" as peers send it.
#include "core/keymessage.h"
#include "tests/common/ztest.h"

#include <QDataStream>
#include <QIODevice>

class KeyMessageTest : public QObject
{
    Q_OBJECT

    static QByteArray encoded(qint32 code, qint32 type)
    {
        QByteArray data;
        QDataStream out(&data, QIODevice::WriteOnly);
        out << code << type;
        return data;
    }

private slots:
    void readsCodeThenType_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("type");
        QTest::newRow("pop-up key pressed") << encoded(4159, 1) << 4159 << 1;
        QTest::newRow("released") << encoded(4159, 0) << 4159 << 0;
        QTest::newRow("negative") << encoded(-1, -2147483647 - 1) << -1 << (-2147483647 - 1);
        // Big-endian on the wire, whatever the machine.
        QTest::newRow("byte order") << QByteArray::fromHex("0000103f00000001") << 0x103f << 1;
        QTest::newRow("bytes after the two ignored") << encoded(7, 1) + "junk" << 7 << 1;
    }

    void readsCodeThenType()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, code);
        QFETCH(int, type);
        const KeyMessage key = decodeKeyMessage(data);
        QVERIFY(key.complete);
        QCOMPARE(key.code, code);
        QCOMPARE(key.type, type);
    }

    // Fewer than eight bytes is no key; the command channel then only logs
    // what the stream gave.
    void shortDataIsIncomplete_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("code");
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("half a code") << QByteArray::fromHex("0000") << 0;
        QTest::newRow("code only") << QByteArray::fromHex("0000103f") << 4159;
        QTest::newRow("one byte short") << QByteArray::fromHex("0000103f000000") << 4159;
    }

    void shortDataIsIncomplete()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, code);
        const KeyMessage key = decodeKeyMessage(data);
        QVERIFY(!key.complete);
        QCOMPARE(key.code, code);
        QCOMPARE(key.type, 0);
    }
};

ZK_TEST(KeyMessageTest)
#include "keymessage_test.moc"
