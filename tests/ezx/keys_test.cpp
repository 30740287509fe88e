// Phone key numbers.
#include "ezx/zkeys.h"
#include "tests/common/ztest.h"

class ZKeysTest : public QObject
{
    Q_OBJECT
private slots:
    void qtKeysMapToPhoneNumbers()
    {
        QCOMPARE(phoneKeyCode(Qt::Key_F1), 0x1030);
        QCOMPARE(phoneKeyCode(Qt::Key_F2), 0x1031);
        QCOMPARE(phoneKeyCode(Qt::Key_F3), 0x1032);
        QCOMPARE(phoneKeyCode(Qt::Key_Up), 0x1013);
        QCOMPARE(phoneKeyCode(Qt::Key_Down), 0x1015);
        QCOMPARE(phoneKeyCode(zkeys::Green), zkeys::PhoneGreen);
        QCOMPARE(phoneKeyCode(zkeys::Clear), zkeys::PhoneClear);
        // Others unchanged.
        QCOMPARE(phoneKeyCode(Qt::Key_A), int(Qt::Key_A));
        QCOMPARE(phoneKeyCode(zkeys::PopupKey), 4159);
        QCOMPARE(phoneKeyCode(0x1030), 0x1030);
    }

    void selectIsReturnOrEnter()
    {
        QVERIFY(zkeys::isSelect(Qt::Key_Return));
        QVERIFY(zkeys::isSelect(Qt::Key_Enter));
        QVERIFY(!zkeys::isSelect(Qt::Key_Space));
    }
};
ZK_TEST(ZKeysTest)

#include "keys_test.moc"
