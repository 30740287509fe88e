// Popups and pickers: what exec() returns for each way out, and what the
// pickers hand back.
#include "ezx/zcolorpickerdlg.h"
#include "ezx/zlistbox.h"
#include "ezx/znumpickerdlg.h"
#include "ezx/zpopup.h"
#include "ezx/zsinglecapturedlg.h"
#include "ezx/zsingleselectdlg.h"
#include "ezx/zslidermodule.h"
#include "tests/common/ztest.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTimer>

#include <functional>

namespace {
// The widget a key press reaches: the popup's focus child, else the popup.
QWidget* keyTarget(QWidget* popup)
{
    QWidget* w = popup->focusWidget();
    return w ? w : popup;
}

// Runs `whileOpen` once the popup's nested loop runs, then returns exec()'s result.
int runPopup(ZPopup* popup, std::function<void()> whileOpen)
{
    bool ran = false;
    QTimer::singleShot(0, popup, [&] {
        ran = true;
        QVERIFY(popup->isVisible());
        whileOpen();
        // A step that did not end the popup must not hang the test.
        if (popup->isVisible())
            QTimer::singleShot(0, popup, [popup] { popup->done(-1); });
    });
    const int result = popup->exec();
    if (!ran)
        return -2;
    return result;
}

void press(ZPopup* popup, int key)
{
    QTest::keyClick(keyTarget(popup), static_cast<Qt::Key>(key));
}
}

class PopupTest : public QObject
{
    Q_OBJECT
private slots:
    void leftSoftKeyReturnsOne()
    {
        ZPopup popup;
        popup.setSoftkeyTextLeft(QStringLiteral("OK"));
        QCOMPARE(runPopup(&popup, [&] { press(&popup, Qt::Key_F10); }), 1);
        QCOMPARE(runPopup(&popup, [&] { popup.softkeyButton(0)->click(); }), 1);
    }

    void rightSoftKeyEscapeAndCloseReturnZero()
    {
        ZPopup popup;
        QCOMPARE(runPopup(&popup, [&] { press(&popup, Qt::Key_Escape); }), 0);
        QCOMPARE(runPopup(&popup, [&] { popup.softkeyButton(1)->click(); }), 0);
        QCOMPARE(runPopup(&popup, [&] { popup.close(); }), 0);
        QVERIFY(!popup.isVisible());
    }

    void nestedPopupsReturnTheirOwnResults()
    {
        QWidget window;
        window.resize(240, 320);
        window.show();
        ZPopup outer(0, &window);
        int inner = -3;
        const int result = runPopup(&outer, [&] {
            ZPopup second(0, &outer);
            inner = runPopup(&second, [&] { press(&second, Qt::Key_F10); });
            QVERIFY(outer.isVisible());  // the outer popup is still open
            press(&outer, Qt::Key_Escape);
        });
        QCOMPARE(inner, 1);
        QCOMPARE(result, 0);
    }

    void textsAndChildren()
    {
        ZPopup popup;
        popup.setTitle(QStringLiteral("Priority:"));
        popup.setSoftkeyTextLeft(QStringLiteral("Ok"));
        popup.setSoftkeyTextRight(QStringLiteral("Cancel"));
        QCOMPARE(popup.title(), QStringLiteral("Priority:"));
        QCOMPARE(popup.softkeyButton(0)->text(), QStringLiteral("Ok"));
        QCOMPARE(popup.softkeyTextRight(), QStringLiteral("Cancel"));
        QCOMPARE(popup.softkeyButton(2), nullptr);

        auto* second = new QLabel(QStringLiteral("second"));
        auto* first = new QLabel(QStringLiteral("first"));
        popup.insertChild(second, -1);
        popup.insertChild(first, 0);
        popup.insertChild(nullptr);
        QVERIFY(popup.isAncestorOf(first));
        QVERIFY(first->y() <= second->y());
        popup.show();
        QVERIFY(first->geometry().bottom() < second->geometry().top());
        popup.hide();
    }

    void popupSitsAtTheBottomOfItsWindow()
    {
        QWidget window;
        window.setGeometry(0, 0, 240, 320);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        ZSingleSelectDlg popup(QStringLiteral("Action"), QString(), &window);
        popup.addItemsList({QStringLiteral("No"), QStringLiteral("Kill"), QStringLiteral("Quit")});
        popup.show();
        QCOMPARE(popup.width(), 240);
        const QRect win(window.mapToGlobal(QPoint(0, 0)), window.size());
        QCOMPARE(popup.geometry().bottom(), win.bottom());
        QVERIFY(popup.height() < 320);
        popup.hide();
    }
};
ZK_TEST(PopupTest)

class PickerTest : public QObject
{
    Q_OBJECT
private slots:
    void numModuleKeepsItsRange()
    {
        ZNumModule num;
        num.setMaxValue(30);
        num.setMinValue(6);
        QCOMPARE(num.getValue(), 6);  // pulled into the new range
        num.setValue(2);
        QCOMPARE(num.getValue(), 6);
        num.setValue(50);
        QCOMPARE(num.getValue(), 30);
        num.setValue(16);
        num.setMaxValue(12);
        QCOMPARE(num.getValue(), 12);
        num.setMinValue(40);  // above the maximum: both move
        QCOMPARE(num.minValue(), 40);
        QCOMPARE(num.maxValue(), 40);
        QCOMPARE(num.getValue(), 40);
        num.setMaxValue(-5);
        QCOMPARE(num.minValue(), -5);
        QCOMPARE(num.getValue(), -5);
    }

    void numModuleKeys()
    {
        ZNumModule num;
        num.setMaxValue(30);
        num.setMinValue(6);
        num.setValue(29);
        QSignalSpy changed(&num, &ZNumModule::valueChanged);
        QTest::keyClick(&num, Qt::Key_Up);
        QTest::keyClick(&num, Qt::Key_Up);  // at the maximum: stays
        QCOMPARE(num.getValue(), 30);
        QCOMPARE(changed.count(), 1);
        QTest::keyClick(&num, Qt::Key_Down);
        QCOMPARE(num.getValue(), 29);

        QTest::keyClick(&num, Qt::Key_2);  // 2 is below 6: shows 6 while typing
        QCOMPARE(num.getValue(), 6);
        QTest::keyClick(&num, Qt::Key_5);
        QCOMPARE(num.getValue(), 25);
        QTest::keyClick(&num, Qt::Key_9);  // 259 cannot be: starts over with 9
        QCOMPARE(num.getValue(), 9);
        QTest::keyClick(&num, Qt::Key_1);
        QCOMPARE(num.getValue(), 6);  // 91 cannot be: "1", pulled up to 6
        QTest::keyClick(&num, Qt::Key_4);
        QCOMPARE(num.getValue(), 14);
        QTest::keyClick(&num, Qt::Key_Backspace);
        QCOMPARE(num.getValue(), 6);  // back to "1", pulled to 6
    }

    void numPickerReturnsTheChosenValue()
    {
        ZNumPickerDlg dlg(2, nullptr);
        ZNumModule* num = dlg.getNumModule();
        num->setMaxValue(30);
        num->setMinValue(6);
        num->setValue(16);
        QCOMPARE(runPopup(&dlg, [&] {
                     press(&dlg, Qt::Key_Up);
                     press(&dlg, Qt::Key_Up);
                     press(&dlg, Qt::Key_F10);
                 }),
                 1);
        QCOMPARE(num->getValue(), 18);
        QCOMPARE(runPopup(&dlg, [&] { press(&dlg, Qt::Key_Escape); }), 0);
    }

    void numModuleMayGoBeforeItsPicker()
    {
        auto* dlg = new ZNumPickerDlg(2, nullptr);
        delete dlg->getNumModule();
        QCOMPARE(dlg->getNumModule(), nullptr);
        delete dlg;
    }

    void sliderSignalsAndKeys()
    {
        ZSliderModule slider(-10, 10, 1, 0, 0, nullptr, nullptr, 50);
        QSignalSpy changed(&slider, &ZSliderModule::valueChanged);
        QTest::keyClick(slider.getSlider(), Qt::Key_Right);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.last().at(0).toInt(), 1);
        QTest::keyClick(slider.getSlider(), Qt::Key_Left);
        QTest::keyClick(slider.getSlider(), Qt::Key_Left);
        QCOMPARE(changed.last().at(0).toInt(), -1);
        slider.getSlider()->setValue(-15);  // kept within its range
        QCOMPARE(changed.last().at(0).toInt(), -10);
        const int before = static_cast<int>(changed.count());
        QTest::keyClick(slider.getSlider(), Qt::Key_Left);  // already at the minimum
        QCOMPARE(changed.count(), before);
        QCOMPARE(slider.getSlider()->value(), -10);
    }

    void sliderWithStepAndTurnedRange()
    {
        ZSliderModule slider(10, 0, 5, 3, 1, nullptr);
        QCOMPARE(slider.getSlider()->minimum(), 0);
        QCOMPARE(slider.getSlider()->maximum(), 10);
        QSignalSpy changed(&slider, &ZSliderModule::valueChanged);
        QTest::keyClick(slider.getSlider(), Qt::Key_Right);
        QCOMPARE(changed.last().at(0).toInt(), 8);
    }

    void singleSelectChecksTheSelectedRow()
    {
        ZSingleSelectDlg dlg(QStringLiteral("Show All Tasks"), QString(), nullptr);
        dlg.addItemsList({QStringLiteral("On"), QStringLiteral("Off")});
        dlg.getListBox()->checkItem(0, true);
        QCOMPARE(dlg.getCheckedItemIndex(), 0);
        const int result = runPopup(&dlg, [&] {
            QCOMPARE(dlg.getListBox()->currentItem(), 0);  // opens on the checked row
            press(&dlg, Qt::Key_Down);
            QCOMPARE(dlg.getCheckedItemIndex(), 0);  // moving does not check
            press(&dlg, Qt::Key_Return);
            QCOMPARE(dlg.getCheckedItemIndex(), 1);
            QVERIFY(dlg.isVisible());  // selecting does not close
            press(&dlg, Qt::Key_F10);
        });
        QCOMPARE(result, 1);
        QCOMPARE(dlg.getCheckedItemIndex(), 1);
    }

    void singleSelectCancelledAndClicked()
    {
        ZSingleSelectDlg dlg(QStringLiteral("Action"), QStringLiteral("On C key"), nullptr);
        dlg.addItemsList({QStringLiteral("No"), QStringLiteral("Kill"), QStringLiteral("Quit")});
        dlg.getListBox()->checkItem(1, true);
        QCOMPARE(runPopup(&dlg, [&] {
                     ZListBox* list = dlg.getListBox();
                     QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                       list->itemRect(2).center());
                     QCOMPARE(dlg.getCheckedItemIndex(), 2);
                     press(&dlg, Qt::Key_Escape);
                 }),
                 0);
    }

    void singleSelectConfirmedWithoutACheckTakesTheCurrentRow()
    {
        ZSingleSelectDlg dlg(QStringLiteral("Pick"), QString(), nullptr);
        dlg.addItemsList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        QCOMPARE(runPopup(&dlg, [&] {
                     press(&dlg, Qt::Key_Down);
                     press(&dlg, Qt::Key_Down);
                     dlg.softkeyButton(0)->click();
                 }),
                 1);
        QCOMPARE(dlg.getCheckedItemIndex(), 2);
    }

    void captureReturnsTheTypedText()
    {
        ZSingleCaptureDlg dlg(QStringLiteral("Rename"), QString(), 0, nullptr);
        dlg.getLineEdit()->setText(QStringLiteral("Old"));
        QCOMPARE(runPopup(&dlg, [&] {
                     QLineEdit* edit = dlg.getLineEdit();
                     edit->selectAll();
                     QTest::keyClicks(edit, QStringLiteral("Camera"));
                     QTest::keyClick(edit, Qt::Key_Return);  // the select key confirms
                 }),
                 1);
        QCOMPARE(dlg.getLineEdit()->text(), QStringLiteral("Camera"));
        QCOMPARE(runPopup(&dlg, [&] { press(&dlg, Qt::Key_Escape); }), 0);
    }

    void captureLineEditMayGoFirst()
    {
        QPointer<ZSingleCaptureDlg> dlg = new ZSingleCaptureDlg(QStringLiteral("t"), QStringLiteral("x"), 0, nullptr);
        delete dlg->getLineEdit();
        QCOMPARE(dlg->getLineEdit(), nullptr);
        delete dlg.data();
        QVERIFY(dlg.isNull());
    }

    void colourPickerStartsOnTheInitialColour()
    {
        ZColorPickerDlg dlg(QColor(0x12, 0x34, 0x56), nullptr, 0, nullptr);
        QCOMPARE(dlg.getColor().name(), QStringLiteral("#123456"));
        const QList<QColor> palette = ZColorPickerDlg::defaultPalette();
        QVERIFY(palette.size() >= 16 && palette.size() <= 24);
        QCOMPARE(dlg.grid()->count(), palette.size() + 1);
        const int result = runPopup(&dlg, [&] {
            press(&dlg, Qt::Key_Right);
            QCOMPARE(dlg.getColor(), palette.at(0));
            press(&dlg, Qt::Key_Down);
            QCOMPARE(dlg.getColor(), palette.at(dlg.grid()->columns()));
            press(&dlg, Qt::Key_F10);
        });
        QCOMPARE(result, 1);
        QCOMPARE(dlg.getColor(), palette.at(dlg.grid()->columns()));
    }

    void colourPickerClickAndEdges()
    {
        ZColorPickerDlg dlg(QColor(Qt::black), nullptr, 0, nullptr);
        // Black is in the palette too: offered once, first.
        QCOMPARE(dlg.grid()->count(), ZColorPickerDlg::defaultPalette().size());
        dlg.show();
        ZColorGrid* grid = dlg.grid();
        QTest::mouseClick(grid, Qt::LeftButton, {}, grid->swatchRect(4).center());
        QCOMPARE(grid->currentIndex(), 4);
        QTest::keyClick(grid, Qt::Key_Up);  // first row: nowhere to go
        QCOMPARE(grid->currentIndex(), 4);
        grid->setCurrentIndex(grid->count() - 1);
        QTest::keyClick(grid, Qt::Key_Right);  // the last swatch
        QCOMPARE(grid->currentIndex(), grid->count() - 1);
        dlg.hide();
    }

    void colourPickerTablesAndBadColours()
    {
        const QColor table[] = {QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue)};
        ZColorPickerDlg withTable(QColor(Qt::white), table, 3, nullptr);
        QCOMPARE(withTable.grid()->count(), 4);
        QColor invalid;
        invalid.setNamedColor(QStringLiteral("not a colour"));
        ZColorPickerDlg bad(invalid, table, 0, nullptr);
        QCOMPARE(bad.getColor(), QColor(Qt::black));
    }
};
ZK_TEST(PickerTest)

#include "popups_test.moc"
