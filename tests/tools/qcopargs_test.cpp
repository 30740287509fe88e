// encodeQcopArgs: the bytes the qcop tool puts into a message's data.

#include "tests/common/ztest.h"
#include "tools/qcopargs.h"

namespace {

QList<QByteArray> words(const QString& text)
{
    QList<QByteArray> list;
    for (const QString& w : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        list.append(w.toUtf8());
    return list;
}

}

class QcopArgsTest : public QObject
{
    Q_OBJECT
private slots:
    void encodesFromTheParameterList_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QList<QByteArray>>("args");
        QTest::addColumn<QByteArray>("hex");

        QTest::newRow("key press") << QByteArray("keyMsg(int,int)") << words("4159 1") << QByteArray("0000103f00000001");
        QTest::newRow("spaced list") << QByteArray("keyMsg(int, int)") << words("4159 0")
                                     << QByteArray("0000103f00000000");
        QTest::newRow("negative") << QByteArray("ReturnToIdle(int)") << words("-5003") << QByteArray("ffffec75");
        QTest::newRow("int limits") << QByteArray("f(int,int)") << words("2147483647 -2147483648")
                                    << QByteArray("7fffffff80000000");
        QTest::newRow("hex") << QByteArray("f(int)") << words("0x103f") << QByteArray("0000103f");
        QTest::newRow("uint max") << QByteArray("f(uint)") << words("4294967295") << QByteArray("ffffffff");
        QTest::newRow("long is 32-bit") << QByteArray("f(long)") << words("7") << QByteArray("00000007");
        QTest::newRow("QString utf-16") << QByteArray("f(QString)") << QList<QByteArray>{"a\xc3\xa9"}
                                        << QByteArray("000000040061"
                                                      "00e9");
        QTest::newRow("const QString&") << QByteArray("f(const QString&)") << words("ab")
                                        << QByteArray("0000000400610062");
        QTest::newRow("empty QString") << QByteArray("f(QString)") << QList<QByteArray>{""} << QByteArray("00000000");
        QTest::newRow("QCString") << QByteArray("f(QCString)") << words("ab") << QByteArray("000000026162");
        QTest::newRow("QByteArray") << QByteArray("f(QByteArray)") << words("xyz") << QByteArray("0000000378797a");
        QTest::newRow("empty QByteArray") << QByteArray("f(QByteArray)") << QList<QByteArray>{""}
                                          << QByteArray("00000000");
        QTest::newRow("bools") << QByteArray("f(bool,bool,bool,bool)") << words("true 0 FALSE 1")
                               << QByteArray("01000001");
        QTest::newRow("QUuid braces") << QByteArray("f(QUuid)") << words("{12345678-9abc-def0-1234-56789abcdef0}")
                                      << QByteArray("123456789abcdef0123456789abcdef0");
        QTest::newRow("QUuid bare") << QByteArray("f(QUuid)") << words("12345678-9ABC-DEF0-1234-56789ABCDEF0")
                                    << QByteArray("123456789abcdef0123456789abcdef0");
        QTest::newRow("mixed") << QByteArray("f(int,QString,bool)") << words("1 a true")
                               << QByteArray("00000001"
                                             "0000000200"
                                             "61"
                                             "01");
        QTest::newRow("empty list") << QByteArray("show()") << QList<QByteArray>{} << QByteArray();
        QTest::newRow("no list, no args") << QByteArray("launch") << QList<QByteArray>{} << QByteArray();
        QTest::newRow("no list, one uuid") << QByteArray("launchApp4NoLockCheck")
                                           << words("{00000000-0000-0000-0000-0000000000ff}")
                                           << QByteArray("000000000000000000000000000000ff");
    }

    void encodesFromTheParameterList()
    {
        QFETCH(QByteArray, message);
        QFETCH(QList<QByteArray>, args);
        QFETCH(QByteArray, hex);
        QByteArray data = "stale";
        QString error;
        QVERIFY2(encodeQcopArgs(message, args, &data, &error), qPrintable(error));
        QCOMPARE(data.toHex(), hex);
    }

    void refusesWhatDoesNotFit_data()
    {
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QList<QByteArray>>("args");

        QTest::newRow("too few") << QByteArray("keyMsg(int,int)") << words("4159");
        QTest::newRow("too many") << QByteArray("keyMsg(int,int)") << words("4159 1 2");
        QTest::newRow("args to empty list") << QByteArray("show()") << words("1");
        QTest::newRow("not a number") << QByteArray("f(int)") << words("12x");
        QTest::newRow("empty number") << QByteArray("f(int)") << QList<QByteArray>{""};
        QTest::newRow("int overflow") << QByteArray("f(int)") << words("2147483648");
        QTest::newRow("int underflow") << QByteArray("f(int)") << words("-2147483649");
        QTest::newRow("negative uint") << QByteArray("f(uint)") << words("-1");
        QTest::newRow("signed hex") << QByteArray("f(int)") << words("0x-5");
        QTest::newRow("float") << QByteArray("f(int)") << words("1.5");
        QTest::newRow("bad bool") << QByteArray("f(bool)") << words("yes");
        QTest::newRow("short uuid") << QByteArray("f(QUuid)") << words("{12345678-1234-1234-1234-12345678}");
        QTest::newRow("uuid half braced") << QByteArray("f(QUuid)") << words("{12345678-1234-1234-1234-123456789abc");
        QTest::newRow("uuid not hex") << QByteArray("f(QUuid)") << words("{1234567g-1234-1234-1234-123456789abc}");
        QTest::newRow("unknown type") << QByteArray("f(double)") << words("1");
        QTest::newRow("no list, number") << QByteArray("launchApp4NoLockCheck") << words("1");
        QTest::newRow("no list, bare uuid") << QByteArray("launchApp4NoLockCheck")
                                            << words("12345678-1234-1234-1234-123456789abc");
        QTest::newRow("no list, two uuids") << QByteArray("launchApp4NoLockCheck")
                                            << words("{12345678-1234-1234-1234-123456789abc} "
                                                     "{12345678-1234-1234-1234-123456789abc}");
        QTest::newRow("unclosed list") << QByteArray("f(int") << words("1");
        QTest::newRow("text after list") << QByteArray("f(int)x") << words("1");
        QTest::newRow("nested list") << QByteArray("f((int))") << words("1");
        QTest::newRow("no name") << QByteArray("(int)") << words("1");
        QTest::newRow("empty type") << QByteArray("f(int,)") << words("1 2");
        QTest::newRow("stray close") << QByteArray("f)") << QList<QByteArray>{};
    }

    void refusesWhatDoesNotFit()
    {
        QFETCH(QByteArray, message);
        QFETCH(QList<QByteArray>, args);
        QByteArray data = "untouched";
        QString error;
        QVERIFY(!encodeQcopArgs(message, args, &data, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(data, QByteArray("untouched"));
    }

    void parameterListIsReadAsWritten()
    {
        QList<QByteArray> types;
        bool hasList = false;
        QString error;
        QVERIFY(parseQcopParameters("f( int , const QString & ,QUuid)", &types, &hasList, &error));
        QVERIFY(hasList);
        QCOMPARE(types, (QList<QByteArray>{"int", "QString", "QUuid"}));

        QVERIFY(parseQcopParameters("launchApp4NoLockCheck", &types, &hasList, &error));
        QVERIFY(!hasList);
        QVERIFY(types.isEmpty());
    }
};

ZK_TEST(QcopArgsTest)

#include "qcopargs_test.moc"
