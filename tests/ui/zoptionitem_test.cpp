#include "tests/common/ztest.h"

#include "ezx/zcolorpickerdlg.h"
#include "ezx/zlistbox.h"
#include "ezx/znumpickerdlg.h"
#include "ezx/zsinglecapturedlg.h"
#include "ezx/zsingleselectdlg.h"
#include "platform/zconfig.h"
#include "tests/common/logcapture.h"
#include "tests/ui/popupdriver.h"
#include "ui/zoptionitem.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {
const QString group = QStringLiteral("Test");
const QString absent = QStringLiteral("<absent>");

// Selects a row as the user does: make it current and press select.
void openRow(ZListBox& list, ZOptionItem* row)
{
    list.setCurrentItem(list.itemIndex(row));
    QTest::keyClick(&list, Qt::Key_Return);
}

ZOptionItem* addRow(ZListBox& list, int kind, int id)
{
    auto* row = new ZOptionItem(&list, kind, id);
    row->setTitle(QStringLiteral("Row %1").arg(id));
    list.insertItem(row, -1, true);
    return row;
}
}

class ZOptionItemTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
        m_file = m_dir->filePath(QStringLiteral("setup/test.cfg"));
    }

    void rowShowsTitleAndValueLines()
    {
        ZListBox list(nullptr);
        ZOptionItem* row = addRow(list, ZOptionItem::Number, 4);
        QCOMPARE(row->subItemCount(0), 2);
        QCOMPARE(row->subItem(0, 0), QStringLiteral("Row 4"));
        QVERIFY(row->isEmphasized(0, 0));
        QVERIFY(!row->isEmphasized(0, 1));
        row->setValue(12);
        QCOMPARE(row->subItem(0, 1), QStringLiteral("12"));
        QCOMPARE(row->id(), 4);
    }

    void twoStateTexts()
    {
        ZListBox list(nullptr);
        ZOptionItem* onOff = addRow(list, ZOptionItem::OnOff, 1);
        ZOptionItem* yesNo = addRow(list, ZOptionItem::YesNo, 2);
        onOff->setValue(0);
        yesNo->setValue(1);
        QCOMPARE(onOff->valueText(), QStringLiteral("Off"));
        QCOMPARE(yesNo->valueText(), QStringLiteral("Yes"));
        onOff->setValue(5);
        QCOMPARE(onOff->valueText(), QStringLiteral("On"));
        QCOMPARE(onOff->value(), 5);
    }

    // First entry of the picker stands for true, the second for false.
    void onOffPickerMapsEntriesToValues()
    {
        ZListBox list(nullptr);
        ZOptionItem* row = addRow(list, ZOptionItem::OnOff, 1);
        row->bindValue(m_file, group, QStringLiteral("Flag"), 0);
        PopupDriver user;
        int preselected = -2;
        QStringList entries;
        user.then([&](ZPopup* p) {
            auto* dlg = qobject_cast<ZSingleSelectDlg*>(p);
            QVERIFY(dlg);
            ztest::saveShot(p, QStringLiteral("picker_onoff"));
            preselected = dlg->getCheckedItemIndex();
            for (int i = 0; i < dlg->getListBox()->count(); ++i)
                entries << dynamic_cast<ZSettingItem*>(dlg->getListBox()->item(i))->sortText();
            dlg->getListBox()->checkItem(0, true);
            PopupDriver::confirm(p);
        });
        openRow(list, row);
        QCOMPARE(user.seen(), 1);
        QCOMPARE(preselected, 1);
        QCOMPARE(entries, (QStringList{QStringLiteral("On"), QStringLiteral("Off")}));
        QCOMPARE(row->value(), 1);
        QCOMPARE(row->valueText(), QStringLiteral("On"));
        QVERIFY(row->isModified());
    }

    void yesNoSecondEntryGivesZero()
    {
        ZListBox list(nullptr);
        ZOptionItem* row = addRow(list, ZOptionItem::YesNo, 1);
        row->setValue(1);
        PopupDriver user;
        user.then([](ZPopup* p) {
            auto* dlg = qobject_cast<ZSingleSelectDlg*>(p);
            QCOMPARE(dlg->getCheckedItemIndex(), 0);
            dlg->getListBox()->checkItem(1, true);
            PopupDriver::confirm(p);
        });
        openRow(list, row);
        QCOMPARE(row->value(), 0);
        QCOMPARE(row->valueText(), QStringLiteral("No"));
    }

    void valueFiveEditedSavesABoolean()
    {
        ZListBox list(nullptr);
        ZOptionItem* row = addRow(list, ZOptionItem::OnOff, 3);
        row->bindValue(m_file, group, QStringLiteral("Flag"), 0);
        row->setValue(5);
        QCOMPARE(row->valueText(), QStringLiteral("On"));
        PopupDriver user;
        int preselected = -2;
        user.then([&](ZPopup* p) {
            preselected = qobject_cast<ZSingleSelectDlg*>(p)->getCheckedItemIndex();
            PopupDriver::confirm(p);
        });
        openRow(list, row);
        QCOMPARE(preselected, 0);
        row->save();
        QCOMPARE(ZConfig(m_file).readEntry(group, QStringLiteral("Flag"), absent),
                 QStringLiteral("true"));
    }

    void cancelledEditorChangesNothing()
    {
        ZListBox list(nullptr);
        ZOptionItem* row = addRow(list, ZOptionItem::OnOff, 1);
        row->bindValue(m_file, group, QStringLiteral("Flag"), 1);
        PopupDriver user;
        user.then([](ZPopup* p) {
            qobject_cast<ZSingleSelectDlg*>(p)->getListBox()->checkItem(1, true);
            PopupDriver::cancel(p);
        });
        openRow(list, row);
        QCOMPARE(user.seen(), 1);
        QCOMPARE(row->value(), 1);
        QVERIFY(!row->isModified());
        row->save();
        QVERIFY(!QFile::exists(m_file));
    }

    void numberPickerOffersOnlyTheRange()
    {
        ZListBox list(nullptr);
        ZOptionItem* row = addRow(list, ZOptionItem::Number, 9);
        row->setRange(6, 30);
        row->bindValue(m_file, group, QStringLiteral("Size"), 16);
        QCOMPARE(row->valueText(), QStringLiteral("16"));
        PopupDriver user;
        int shownMin = 0, shownMax = 0, shownValue = 0, above = 0, below = 0;
        user.then([&](ZPopup* p) {
            auto* dlg = qobject_cast<ZNumPickerDlg*>(p);
            QVERIFY(dlg);
            ztest::saveShot(p, QStringLiteral("picker_number"));
            ZNumModule* m = dlg->getNumModule();
            shownMin = m->minValue();
            shownMax = m->maxValue();
            shownValue = m->getValue();
            m->setValue(99);
            above = m->getValue();
            m->setValue(2);
            below = m->getValue();
            m->setValue(30);
            PopupDriver::confirm(p);
        });
        openRow(list, row);
        QCOMPARE(shownMin, 6);
        QCOMPARE(shownMax, 30);
        QCOMPARE(shownValue, 16);
        QCOMPARE(above, 30);
        QCOMPARE(below, 6);
        QCOMPARE(row->value(), 30);
        row->save();
        QCOMPARE(ZConfig(m_file).readNumEntry(group, QStringLiteral("Size"), -1), 30);
    }

    void choiceShowsAndStoresTheIndex()
    {
        ZListBox list(nullptr);
        ZOptionItem* row = addRow(list, ZOptionItem::Choice, 7);
        row->setChoices(new QStringList{QStringLiteral("No"), QStringLiteral("Kill"),
                                        QStringLiteral("Quit")});
        row->bindValue(m_file, group, QStringLiteral("Action"), 0);
        QCOMPARE(row->valueText(), QStringLiteral("No"));
        PopupDriver user;
        user.then([](ZPopup* p) {
            auto* dlg = qobject_cast<ZSingleSelectDlg*>(p);
            ztest::saveShot(p, QStringLiteral("picker_choice"));
            QCOMPARE(dlg->getCheckedItemIndex(), 0);
            dlg->getListBox()->checkItem(2, true);
            PopupDriver::confirm(p);
        });
        openRow(list, row);
        QCOMPARE(row->value(), 2);
        QCOMPARE(row->valueText(), QStringLiteral("Quit"));
        row->save();
        QCOMPARE(ZConfig(m_file).readNumEntry(group, QStringLiteral("Action"), -1), 2);
    }

    void choiceOutOfRangeIsNeverIndexed()
    {
        {
            ZConfig cfg(m_file);
            cfg.writeEntry(group, QStringLiteral("Action"), 7);
            QVERIFY(cfg.flush());
        }
        ZListBox list(nullptr);
        ZOptionItem* row = addRow(list, ZOptionItem::Choice, 7);
        row->setChoices(new QStringList{QStringLiteral("No"), QStringLiteral("Kill")});
        LogCapture log;
        row->bindValue(m_file, group, QStringLiteral("Action"), 0);
        const QStringList lines = log.finish();
        QCOMPARE(row->value(), 7);
        QCOMPARE(row->valueText(), QString());
        QVERIFY(!lines.isEmpty());
        row->setValue(-1);
        QCOMPARE(row->valueText(), QString());

        // The picker opens with nothing checked; picking fixes the value.
        PopupDriver user;
        int preselected = -2;
        user.then([&](ZPopup* p) {
            auto* dlg = qobject_cast<ZSingleSelectDlg*>(p);
            preselected = dlg->getCheckedItemIndex();
            dlg->getListBox()->checkItem(1, true);
            PopupDriver::confirm(p);
        });
        openRow(list, row);
        QCOMPARE(preselected, -1);
        QCOMPARE(row->value(), 1);
        QCOMPARE(row->valueText(), QStringLiteral("Kill"));
    }

    void choiceWithoutListIgnoresSelection()
    {
        ZListBox list(nullptr);
        ZOptionItem* row = addRow(list, ZOptionItem::Choice, 7);
        row->setValue(1);
        QCOMPARE(row->subItem(0, 1), QStringLiteral(" "));
        PopupDriver user;
        openRow(list, row);
        QCOMPARE(user.seen(), 0);
        QVERIFY(!row->isModified());
    }

    void textEditorStartsOnTheValueAndSavesEmptyText()
    {
        {
            ZConfig cfg(m_file);
            cfg.writeEntry(group, QStringLiteral("Name"), QStringLiteral("old name"));
            QVERIFY(cfg.flush());
        }
        ZListBox list(nullptr);
        ZOptionItem* row = addRow(list, ZOptionItem::Text, 1);
        row->bindText(m_file, group, QStringLiteral("Name"), QStringLiteral("default"));
        QCOMPARE(row->valueText(), QStringLiteral("old name"));
        PopupDriver user;
        QString shown;
        user.then([&](ZPopup* p) {
            auto* dlg = qobject_cast<ZSingleCaptureDlg*>(p);
            QVERIFY(dlg);
            ztest::saveShot(p, QStringLiteral("picker_text"));
            shown = dlg->getLineEdit()->text();
            dlg->getLineEdit()->clear();
            PopupDriver::confirm(p);
        });
        openRow(list, row);
        QCOMPARE(shown, QStringLiteral("old name"));
        QCOMPARE(row->valueText(), QString());
        row->save();
        QCOMPARE(ZConfig(m_file).readEntry(group, QStringLiteral("Name"), absent), QString());
    }

    void colourPickerWritesTheHexName()
    {
        ZListBox list(nullptr);
        ZOptionItem* row = addRow(list, ZOptionItem::Colour, 12);
        row->bindText(m_file, group, QStringLiteral("Colour"), QStringLiteral("#000000"));
        QCOMPARE(row->valueText(), QStringLiteral("#000000"));
        PopupDriver user;
        QColor first;
        QColor chosen;
        user.then([&](ZPopup* p) {
            auto* dlg = qobject_cast<ZColorPickerDlg*>(p);
            QVERIFY(dlg);
            ztest::saveShot(p, QStringLiteral("picker_colour"));
            first = dlg->getColor();
            dlg->grid()->setCurrentIndex(dlg->grid()->count() - 1);
            chosen = dlg->getColor();
            PopupDriver::confirm(p);
        });
        openRow(list, row);
        QCOMPARE(first, QColor(0, 0, 0));
        QVERIFY(chosen.isValid());
        QCOMPARE(row->valueText(), chosen.name());
        row->save();
        const QString stored = ZConfig(m_file).readEntry(group, QStringLiteral("Colour"), absent);
        QCOMPARE(stored, chosen.name());
        QVERIFY(QRegularExpression(QStringLiteral("^#[0-9a-f]{6}$")).match(stored).hasMatch());
    }

    void unreadableColourStartsThePickerOnBlack()
    {
        ZListBox list(nullptr);
        ZOptionItem* row = addRow(list, ZOptionItem::Colour, 12);
        row->setValueText(QStringLiteral("not a colour"));
        PopupDriver user;
        QColor first;
        user.then([&](ZPopup* p) {
            first = qobject_cast<ZColorPickerDlg*>(p)->getColor();
            PopupDriver::cancel(p);
        });
        LogCapture log;
        openRow(list, row);
        QVERIFY(!log.finish().isEmpty());
        QCOMPARE(first, QColor(0, 0, 0));
        QCOMPARE(row->valueText(), QStringLiteral("not a colour"));
    }

    void confirmWithoutChangeStillWrites()
    {
        ZListBox list(nullptr);
        ZOptionItem* row = addRow(list, ZOptionItem::OnOff, 1);
        row->bindValue(m_file, group, QStringLiteral("Flag"), 0);
        PopupDriver user;
        user.then([](ZPopup* p) { PopupDriver::confirm(p); });
        openRow(list, row);
        QCOMPARE(row->value(), 0);
        row->save();
        QCOMPARE(ZConfig(m_file).readEntry(group, QStringLiteral("Flag"), absent),
                 QStringLiteral("false"));
    }

    void onlyEditedRowsAreWritten()
    {
        ZListBox list(nullptr);
        ZOptionItem* edited = addRow(list, ZOptionItem::Number, 1);
        edited->setRange(0, 50);
        edited->bindValue(m_file, group, QStringLiteral("Edited"), 3);
        ZOptionItem* untouched = addRow(list, ZOptionItem::Number, 2);
        untouched->bindValue(m_file, group, QStringLiteral("Untouched"), 4);
        ZOptionItem* text = addRow(list, ZOptionItem::Text, 3);
        text->bindText(m_file, group, QStringLiteral("Words"), QStringLiteral("x"));
        PopupDriver user;
        user.then([](ZPopup* p) {
            qobject_cast<ZNumPickerDlg*>(p)->getNumModule()->setValue(11);
            PopupDriver::confirm(p);
        });
        openRow(list, edited);
        QSignalSpy applied(edited, &ZOptionItem::aplly);
        QSignalSpy quiet(untouched, &ZOptionItem::aplly);
        for (ZOptionItem* row : {edited, untouched, text})
            row->save();
        const ZConfig cfg(m_file);
        QCOMPARE(cfg.readNumEntry(group, QStringLiteral("Edited"), -1), 11);
        QCOMPARE(cfg.readEntry(group, QStringLiteral("Untouched"), absent), absent);
        QCOMPARE(cfg.readEntry(group, QStringLiteral("Words"), absent), absent);
        QCOMPARE(applied.count(), 1);
        QCOMPARE(applied.at(0).at(0).toInt(), 1);
        QCOMPARE(quiet.count(), 0);
    }

    void unboundRowEmitsButWritesNothing()
    {
        ZListBox list(nullptr);
        ZOptionItem* row = addRow(list, ZOptionItem::YesNo, 6);
        PopupDriver user;
        user.then([](ZPopup* p) { PopupDriver::confirm(p); });
        openRow(list, row);
        QSignalSpy applied(row, &ZOptionItem::aplly);
        row->save();
        QCOMPARE(applied.count(), 1);
        QCOMPARE(applied.at(0).at(0).toInt(), 6);
        QVERIFY(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }

    // Only the selected row opens its editor, though all rows hear the list.
    void onlyTheSelectedRowAnswers()
    {
        ZListBox list(nullptr);
        ZOptionItem* first = addRow(list, ZOptionItem::Number, 1);
        first->setRange(0, 9);
        ZOptionItem* second = addRow(list, ZOptionItem::OnOff, 2);
        PopupDriver user;
        bool numberPicker = false;
        user.then([&](ZPopup* p) {
            numberPicker = qobject_cast<ZNumPickerDlg*>(p) != nullptr;
            PopupDriver::confirm(p);
        });
        openRow(list, second);
        QCOMPARE(user.seen(), 1);
        QVERIFY(!numberPicker);
        QVERIFY(second->isModified());
        QVERIFY(!first->isModified());
    }

    void removedRowNoLongerListens()
    {
        ZListBox list(nullptr);
        addRow(list, ZOptionItem::OnOff, 1);
        ZOptionItem* kept = addRow(list, ZOptionItem::OnOff, 2);
        list.removeItem(0);
        PopupDriver user;
        user.then([](ZPopup* p) { PopupDriver::confirm(p); });
        openRow(list, kept);
        QCOMPARE(user.seen(), 1);
        QVERIFY(kept->isModified());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_file;
};

ZK_TEST(ZOptionItemTest)
#include "zoptionitem_test.moc"
