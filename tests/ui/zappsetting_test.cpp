#include "tests/common/ztest.h"

#include "core/globals.h"
#include "core/zsettings.h"
#include "ezx/zcolorpickerdlg.h"
#include "ezx/zlistbox.h"
#include "ezx/znumpickerdlg.h"
#include "ezx/zsingleselectdlg.h"
#include "ezx/zsoftkey.h"
#include "platform/devicepath.h"
#include "platform/zconfig.h"
#include "tests/common/logcapture.h"
#include "tests/ui/popupdriver.h"
#include "ui/zappsetting.h"
#include "ui/zoptionitem.h"

#include <QFile>
#include <QRegularExpression>
#include <QTimer>

#include <functional>

namespace {

const QString absent = QStringLiteral("<absent>");

ZOptionItem* row(ZAppSetting& dlg, int index)
{
    auto* r = dynamic_cast<ZOptionItem*>(dlg.settingsList()->item(index));
    if (!r)
        qFatal("the settings list has no option row %d", index);
    return r;
}

void openRow(ZAppSetting& dlg, int index)
{
    ZListBox* list = dlg.settingsList();
    list->setCurrentItem(index);
    QTest::keyClick(list, Qt::Key_Return);
}

// Runs the dialog; `during` plays the user inside its loop.
int run(ZAppSetting& dlg, const std::function<void()>& during)
{
    QTimer::singleShot(0, &dlg, during);
    return dlg.exec();
}

// Confirms a single-select picker on the given entry.
PopupDriver::Step pickEntry(int index)
{
    return [index](ZPopup* p) {
        qobject_cast<ZSingleSelectDlg*>(p)->getListBox()->checkItem(index, true);
        PopupDriver::confirm(p);
    };
}

QByteArray fileBytes()
{
    QFile f(configFilePath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}

class ZAppSettingTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(!qEnvironmentVariableIsEmpty("EZX_APP_WRITE_PATH"));
        gSettings = new ZSettings;
    }

    void cleanupTestCase()
    {
        delete gSettings;
        gSettings = nullptr;
    }

    void init()
    {
        QFile::remove(configFilePath());
        gSettings->loadSettings();
    }

    void rowsIdsKindsAndTitles()
    {
        ZAppSetting dlg;
        QCOMPARE(dlg.mainWidgetTitle(), QStringLiteral("Settings"));
        ZListBox* list = dlg.settingsList();
        QCOMPARE(list->count(), 11);

        struct Expected
        {
            int id;
            int kind;
            QString title;
        };
        const Expected expected[] = {
            {1, ZOptionItem::OnOff, QStringLiteral("Show All Tasks")},
            {2, ZOptionItem::OnOff, QString::fromUtf8("Отображать задачи без окон")},
            {3, ZOptionItem::OnOff, QStringLiteral("Time")},
            {4, ZOptionItem::OnOff, QString::fromUtf8("Использовать перекрывание окон")},
            {5, ZOptionItem::OnOff, QString::fromUtf8("Использовать сворачивание Java'ы")},
            {6, ZOptionItem::OnOff,
             QString::fromUtf8("Информация о задаче по нажатии зеленой кнопки")},
            {7, ZOptionItem::Choice, QString::fromUtf8("Действие по кнопке C:")},
            {9, ZOptionItem::Number, QStringLiteral("Font Size list")},
            {10, ZOptionItem::Number, QStringLiteral("Font Size panel")},
            {11, ZOptionItem::OnOff, QStringLiteral("Use Text Color")},
            {12, ZOptionItem::Colour, QStringLiteral("Text Color")},
        };
        for (int i = 0; i < 11; ++i) {
            ZOptionItem* r = row(dlg, i);
            QVERIFY(r);
            QCOMPARE(r->id(), expected[i].id);
            QCOMPARE(r->kind(), expected[i].kind);
            QCOMPARE(r->subItem(0, 0), expected[i].title);
        }
        // The C of row 7 is the Latin letter.
        QVERIFY(row(dlg, 6)->title().contains(QLatin1String(" C:")));
        QCOMPARE(*row(dlg, 6)->choices(),
                 (QStringList{QStringLiteral("No"), QStringLiteral("Kill"), QStringLiteral("Quit")}));
        QCOMPARE(row(dlg, 7)->minimum(), 6);
        QCOMPARE(row(dlg, 7)->maximum(), 30);
        QCOMPARE(row(dlg, 8)->minimum(), 6);
        QCOMPARE(row(dlg, 8)->maximum(), 30);

        QCOMPARE(dlg.softKey()->text(ZSoftKey::Left), QStringLiteral("Save"));
        QCOMPARE(dlg.softKey()->text(ZSoftKey::Right), QStringLiteral("Cancel"));
        dlg.show();
        ztest::saveShot(&dlg, QStringLiteral("settings_dialog"));
    }

    void defaultsShownWithoutAFile()
    {
        ZAppSetting dlg;
        const QStringList shown = [&] {
            QStringList out;
            for (int i = 0; i < dlg.settingsList()->count(); ++i)
                out << row(dlg, i)->valueText();
            return out;
        }();
        QCOMPARE(shown, (QStringList{QStringLiteral("Off"), QStringLiteral("Off"),
                                     QStringLiteral("Off"), QStringLiteral("On"),
                                     QStringLiteral("Off"), QStringLiteral("On"),
                                     QStringLiteral("No"), QStringLiteral("16"),
                                     QStringLiteral("14"), QStringLiteral("Off"),
                                     QStringLiteral("#000000")}));
        QVERIFY(!QFile::exists(configFilePath()));
    }

    void storedValuesShown()
    {
        {
            ZConfig cfg(configFilePath());
            cfg.writeEntry(QStringLiteral("Task"), QStringLiteral("ShowAllTask"), true);
            cfg.writeEntry(QStringLiteral("General"), QStringLiteral("SendReaisePhone"), false);
            cfg.writeEntry(QStringLiteral("Key"), QStringLiteral("ActionOnC"), 2);
            cfg.writeEntry(QStringLiteral("Font"), QStringLiteral("ListFontSize"), 40);
            cfg.writeEntry(QStringLiteral("Font"), QStringLiteral("PanelColor"),
                           QStringLiteral("#12ab34"));
            QVERIFY(cfg.flush());
        }
        ZAppSetting dlg;
        QCOMPARE(row(dlg, 0)->valueText(), QStringLiteral("On"));
        QCOMPARE(row(dlg, 3)->valueText(), QStringLiteral("Off"));
        QCOMPARE(row(dlg, 6)->valueText(), QStringLiteral("Quit"));
        QCOMPARE(row(dlg, 7)->valueText(), QStringLiteral("40"));  // not corrected
        QCOMPARE(row(dlg, 10)->valueText(), QStringLiteral("#12ab34"));
    }

    void logLines()
    {
        LogCapture log;
        {
            ZAppSetting dlg;
            run(dlg, [&] { dlg.softKey()->click(ZSoftKey::Left); });
        }
        const QStringList lines = log.finish();
        QCOMPARE(lines, (QStringList{QStringLiteral("ZSettingDlg: Start"),
                                     QStringLiteral("ZSettingDlg: Create CheckBox and Load settings"),
                                     QStringLiteral("ZSettingDlg: end"),
                                     QStringLiteral("ZSettingDlg::save")}));
    }

    void saveWithoutEditsWritesNothingButReloads()
    {
        {
            ZConfig cfg(configFilePath());
            cfg.writeEntry(QStringLiteral("Font"), QStringLiteral("PanelFontSize"), 12);
            QVERIFY(cfg.flush());
        }
        gSettings->loadSettings();
        ZAppSetting dlg;
        // Changed behind the dialog's back: only a reload picks it up.
        {
            ZConfig cfg(configFilePath());
            cfg.writeEntry(QStringLiteral("Font"), QStringLiteral("ListFontSize"), 21);
            QVERIFY(cfg.flush());
        }
        const QByteArray before = fileBytes();
        QCOMPARE(gSettings->listFontSize, 16);
        const int r = run(dlg, [&] { dlg.softKey()->click(ZSoftKey::Left); });
        QCOMPARE(r, 1);
        QCOMPARE(fileBytes(), before);
        QCOMPARE(gSettings->listFontSize, 21);
        QCOMPARE(gSettings->panelFontSize, 12);
    }

    void saveWithoutEditsCreatesNoFile()
    {
        ZAppSetting dlg;
        QCOMPARE(run(dlg, [&] { dlg.softKey()->click(ZSoftKey::Left); }), 1);
        QVERIFY(!QFile::exists(configFilePath()));
    }

    void cancelAfterEditsWritesNothing()
    {
        ZAppSetting dlg;
        PopupDriver user;
        user.then(pickEntry(0));  // row 1 On
        user.then(pickEntry(1));  // row 7 Kill
        const int r = run(dlg, [&] {
            openRow(dlg, 0);
            openRow(dlg, 6);
            dlg.softKey()->click(ZSoftKey::Right);
        });
        QCOMPARE(user.seen(), 2);
        QCOMPARE(row(dlg, 0)->valueText(), QStringLiteral("On"));
        QCOMPARE(r, 0);
        QVERIFY(!QFile::exists(configFilePath()));
        QCOMPARE(gSettings->hideSystemTasks, true);

        ZAppSetting again;
        QCOMPARE(row(again, 0)->valueText(), QStringLiteral("Off"));
        QCOMPARE(row(again, 6)->valueText(), QStringLiteral("No"));
    }

    void actionOnCStoresTheIndex()
    {
        for (int entry : {1, 2, 0}) {
            ZAppSetting dlg;
            PopupDriver user;
            user.then(pickEntry(entry));
            const int r = run(dlg, [&] {
                openRow(dlg, 6);
                dlg.softKey()->click(ZSoftKey::Left);
            });
            QCOMPARE(r, 1);
            QCOMPARE(ZConfig(configFilePath()).readEntry(QStringLiteral("Key"), QStringLiteral("ActionOnC"), absent),
                     QString::number(entry));
            QCOMPARE(gSettings->actionOnC, entry);
        }
    }

    void listFontSizeThirty()
    {
        ZAppSetting dlg;
        PopupDriver user;
        int lowest = 0, highest = 0;
        user.then([&](ZPopup* p) {
            ZNumModule* m = qobject_cast<ZNumPickerDlg*>(p)->getNumModule();
            lowest = m->minValue();
            highest = m->maxValue();
            m->setValue(30);
            PopupDriver::confirm(p);
        });
        QCOMPARE(run(dlg, [&] {
                     openRow(dlg, 7);
                     dlg.softKey()->click(ZSoftKey::Left);
                 }),
                 1);
        QCOMPARE(lowest, 6);
        QCOMPARE(highest, 30);
        const ZConfig cfg(configFilePath());
        QCOMPARE(cfg.readNumEntry(QStringLiteral("Font"), QStringLiteral("ListFontSize"), -1), 30);
        QCOMPARE(cfg.readEntry(QStringLiteral("Font"), QStringLiteral("PanelFontSize"), absent), absent);
        QCOMPARE(gSettings->listFontSize, 30);
    }

    void panelColourWrittenAsHex()
    {
        ZAppSetting dlg;
        PopupDriver user;
        QColor chosen;
        user.then([&](ZPopup* p) {
            auto* picker = qobject_cast<ZColorPickerDlg*>(p);
            picker->grid()->setCurrentIndex(3);
            chosen = picker->getColor();
            PopupDriver::confirm(p);
        });
        run(dlg, [&] {
            openRow(dlg, 10);
            dlg.softKey()->click(ZSoftKey::Left);
        });
        const QString stored = ZConfig(configFilePath())
                                   .readEntry(QStringLiteral("Font"), QStringLiteral("PanelColor"), absent);
        QVERIFY2(QRegularExpression(QStringLiteral("^#[0-9a-f]{6}$")).match(stored).hasMatch(),
                 qPrintable(stored));
        QCOMPARE(stored, chosen.name());
        QCOMPARE(gSettings->panelColor, chosen);
    }

    // Each row writes the group the settings object reads it from.
    void rowsWriteTheStoresGroups()
    {
        ZAppSetting dlg;
        PopupDriver user;
        user.then(pickEntry(1));  // row 4 SendReaisePhone Off
        user.then(pickEntry(0));  // row 5 SendGoToIDLE On
        user.then(pickEntry(0));  // row 10 UserFont On
        user.then(pickEntry(0));  // row 2 ShowAppNoWindow On
        user.then(pickEntry(1));  // row 6 ShowInfoByGreen Off
        user.then(pickEntry(0));  // row 3 TimeInCaption On
        run(dlg, [&] {
            for (int index : {3, 4, 9, 1, 5, 2})
                openRow(dlg, index);
            dlg.softKey()->click(ZSoftKey::Left);
        });
        QCOMPARE(user.seen(), 6);
        const ZConfig cfg(configFilePath());
        QCOMPARE(cfg.readEntry(QStringLiteral("General"), QStringLiteral("SendReaisePhone"), absent),
                 QStringLiteral("false"));
        QCOMPARE(cfg.readEntry(QStringLiteral("General"), QStringLiteral("SendGoToIDLE"), absent),
                 QStringLiteral("true"));
        QCOMPARE(cfg.readEntry(QStringLiteral("Font"), QStringLiteral("UserFont"), absent),
                 QStringLiteral("true"));
        QCOMPARE(gSettings->sendRaisePhone, false);
        QCOMPARE(gSettings->sendGoToIdle, true);
        QCOMPARE(gSettings->useTextColor, true);
        QCOMPARE(gSettings->showAppNoWindow, true);
        QCOMPARE(gSettings->showInfoByGreen, false);
        QCOMPARE(gSettings->timeInCaption, true);
    }

    void pickerScreenshots()
    {
        ZAppSetting dlg;
        PopupDriver user;
        for (const char* name : {"settings_onoff", "settings_choice", "settings_number",
                                 "settings_colour"}) {
            const QString shot = QString::fromLatin1(name);
            user.then([shot](ZPopup* p) {
                ztest::saveShot(p, shot);
                PopupDriver::cancel(p);
            });
        }
        dlg.show();
        for (int index : {0, 6, 7, 10})
            openRow(dlg, index);
        QCOMPARE(user.seen(), 4);
        dlg.settingsList()->setCurrentItem(10);
        ztest::saveShot(&dlg, QStringLiteral("settings_dialog_end"));
    }
};

ZK_TEST(ZAppSettingTest)
#include "zappsetting_test.moc"
