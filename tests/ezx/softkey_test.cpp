// Soft keys: slots by name reach overrides, keys F10/Escape, menu toggling.
#include "ezx/zkbmainwidget.h"
#include "ezx/zoptionsmenu.h"
#include "ezx/zsoftkey.h"
#include "tests/common/ztest.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
// Like a dialog base: virtual slots that subclasses override.
class BaseDialog : public ZKbMainWidget
{
    Q_OBJECT
public:
    BaseDialog()
        : ZKbMainWidget(3, nullptr, "ZMainWidget", 3)
    {
    }
    QStringList calls;

protected slots:
    virtual void accept() { calls << QStringLiteral("base accept"); }
    virtual void reject() { calls << QStringLiteral("base reject"); }
};

// Overrides accept() without declaring it a slot again.
class SettingsDialog : public BaseDialog
{
protected:
    void accept() override { calls << QStringLiteral("settings accept"); }
};

struct Window
{
    SettingsDialog dialog;
    ZSoftKey* keys = nullptr;
    QLineEdit* edit = nullptr;

    Window()
    {
        edit = new QLineEdit(&dialog);
        dialog.getVBoxLayout()->addWidget(edit);
        keys = new ZSoftKey(nullptr, &dialog, &dialog);
        keys->setText(ZSoftKey::Left, QStringLiteral("Save"));
        keys->setText(ZSoftKey::Right, QStringLiteral("Cancel"));
        keys->setClickedSlot(ZSoftKey::Left, &dialog, SLOT(accept()));
        keys->setClickedSlot(ZSoftKey::Right, &dialog, "reject()");
        dialog.setSoftKey(keys);
    }
    void show()
    {
        dialog.show();
        dialog.activateWindow();
        edit->setFocus();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    }
};
}

class ZSoftKeyTest : public QObject
{
    Q_OBJECT
private slots:
    void slotByNameReachesOverride()
    {
        Window w;
        w.keys->click(ZSoftKey::Left);
        w.keys->click(ZSoftKey::Right);
        QCOMPARE(w.dialog.calls,
                 QStringList({QStringLiteral("settings accept"), QStringLiteral("base reject")}));
    }

    void keysFireFromAnyFocusedChild()
    {
        Window w;
        w.show();
        QCOMPARE(QApplication::focusWidget(), w.edit);
        QSignalSpy left(w.keys, &ZSoftKey::leftClicked);
        QTest::keyClick(w.edit, Qt::Key_F10);
        QTest::keyClick(w.edit, Qt::Key_Escape);
        QCOMPARE(w.dialog.calls,
                 QStringList({QStringLiteral("settings accept"), QStringLiteral("base reject")}));
        QCOMPARE(left.count(), 1);
        // The keys went to the bar, not to the line edit.
        QVERIFY(w.edit->text().isEmpty());
    }

    void heldKeyFiresOnce()
    {
        Window w;
        w.show();
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_F10, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(w.edit, &repeat);
        QVERIFY(w.dialog.calls.isEmpty());
    }

    void keysOfAnotherWindowDoNothing()
    {
        Window w;
        w.show();
        QWidget other;
        other.show();
        QTest::keyClick(&other, Qt::Key_F10);
        QVERIFY(w.dialog.calls.isEmpty());
    }

    void mouseClickOnEachHalf()
    {
        Window w;
        w.show();
        QTest::mouseClick(w.keys, Qt::LeftButton, {}, QPoint(20, 10));
        QTest::mouseClick(w.keys, Qt::LeftButton, {}, QPoint(w.keys->width() - 20, 10));
        QCOMPARE(w.dialog.calls,
                 QStringList({QStringLiteral("settings accept"), QStringLiteral("base reject")}));
        // Pressed on one key, released on the other: nothing.
        QTest::mousePress(w.keys, Qt::LeftButton, {}, QPoint(20, 10));
        QTest::mouseRelease(w.keys, Qt::LeftButton, {}, QPoint(w.keys->width() - 20, 10));
        QCOMPARE(w.dialog.calls.size(), 2);
    }

    void unknownSlotOrBadIndexIsHarmless()
    {
        Window w;
        w.keys->setClickedSlot(ZSoftKey::Left, &w.dialog, "noSuchSlot()");
        w.keys->click(ZSoftKey::Left);
        w.keys->setText(7, QStringLiteral("x"));
        w.keys->click(-1);
        QVERIFY(w.dialog.calls.isEmpty());
        QCOMPARE(w.keys->text(7), QString());
    }

    void menuKeyOpensAndClosesItsMenu()
    {
        Window w;
        auto* menu = new ZOptionsMenu(QRect(0, 0, 240, 320), w.keys);
        menu->insertItem(QStringLiteral("   Reject"), QPixmap(), &w.dialog, SLOT(reject()));
        w.keys->setOptMenu(ZSoftKey::Left, menu);
        w.keys->setTextForOptMenuHide(QStringLiteral("Options"));
        w.show();

        QTest::keyClick(w.edit, Qt::Key_F10);
        QVERIFY(menu->isOpen());
        QCOMPARE(w.keys->shownText(ZSoftKey::Left), QStringLiteral("Options"));
        QTest::keyClick(w.edit, Qt::Key_F10);
        QVERIFY(!menu->isOpen());

        // Escape closes an open menu instead of firing the right key.
        w.keys->click(ZSoftKey::Left);
        QVERIFY(menu->isOpen());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!menu->isOpen());
        QVERIFY(w.dialog.calls.isEmpty());

        // Select runs the entry; focus goes back where it was.
        w.keys->click(ZSoftKey::Left);
        QCOMPARE(QApplication::focusWidget(), menu);
        QTest::keyClick(menu, Qt::Key_Return);
        QVERIFY(!menu->isOpen());
        QCOMPARE(w.dialog.calls, QStringList(QStringLiteral("base reject")));
        QCOMPARE(QApplication::focusWidget(), w.edit);
    }
};
ZK_TEST(ZSoftKeyTest)

#include "softkey_test.moc"
