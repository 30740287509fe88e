#include "tests/common/ztest.h"

#include "core/globals.h"
#include "core/zsettings.h"
#include "ezx/zimage.h"
#include "ezx/zlabel.h"
#include "ezx/zscrollpanel.h"
#include "ezx/zsoftkey.h"
#include "ui/zaboutdialog.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTimer>

namespace {
void writePicture(const QString& path, int size)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::darkCyan);
    QVERIFY(img.save(path));
}

ZLabel* labelWithText(const ZAboutDialog& dlg, const QString& text)
{
    for (ZLabel* l : dlg.findChildren<ZLabel*>())
        if (l->text() == text)
            return l;
    return nullptr;
}
}

class ZAboutDialogTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_appDir = m_dir.path() + QLatin1Char('/');
        gSettings = new ZSettings;
        gSettings->appDir = m_appDir;
        writePicture(m_appDir + QStringLiteral("zKestrel.png"), 40);
    }

    void cleanupTestCase()
    {
        delete gSettings;
        gSettings = nullptr;
    }

    void iconChoice()
    {
        QFile::remove(m_appDir + QStringLiteral("zKestrel3_usr.png"));
        QCOMPARE(ZAboutDialog::iconPath(m_appDir), m_appDir + QStringLiteral("/zKestrel.png"));
        {
            ZAboutDialog dlg;
            ZImage* icon = dlg.findChild<ZImage*>();
            QVERIFY(icon);
            QCOMPARE(icon->pixmap().size(), QSize(40, 40));
        }
        writePicture(m_appDir + QStringLiteral("zKestrel3_usr.png"), 52);
        QCOMPARE(ZAboutDialog::iconPath(m_appDir),
                 m_appDir + QStringLiteral("/zKestrel3_usr.png"));
        ZAboutDialog dlg;
        QCOMPARE(dlg.findChild<ZImage*>()->pixmap().size(), QSize(52, 52));
        QFile::remove(m_appDir + QStringLiteral("zKestrel3_usr.png"));
    }

    void missingIconLeavesTheRestStanding()
    {
        const QString saved = gSettings->appDir;
        gSettings->appDir = m_appDir + QStringLiteral("nowhere/");
        ZAboutDialog dlg;
        gSettings->appDir = saved;
        QVERIFY(dlg.findChild<ZImage*>()->pixmap().isNull());
        QVERIFY(labelWithText(dlg, QStringLiteral("zKestrel")));
    }

    void textsAndPlaces()
    {
        ZAboutDialog dlg;
        QCOMPARE(dlg.mainWidgetTitle(), QStringLiteral("About"));
        ZLabel* name = labelWithText(dlg, QStringLiteral("zKestrel"));
        ZLabel* version = labelWithText(dlg, QStringLiteral("ver. 0.4.6"));
        ZLabel* platform = labelWithText(dlg, QStringLiteral("Platform: EZX-ZN5"));
        ZLabel* build = labelWithText(dlg, ZAboutDialog::buildLine());
        QVERIFY(name);
        QVERIFY(version);
        QVERIFY(platform);
        QVERIFY(build);
        QVERIFY(name->font().bold());
        QVERIFY(!version->font().bold());
        QCOMPARE(name->pos(), QPoint(76, 10));
        QCOMPARE(version->pos(), QPoint(76, 35));
        QCOMPARE(platform->pos(), QPoint(76, 60));
        QCOMPARE(build->pos(), QPoint(10, 220));
        QCOMPARE(name->width(), 170);
        QCOMPARE(version->width(), 164);
        QVERIFY(build->autoResize());
        // One line, like the author line, so that it stays above the rule.
        ZLabel* author = labelWithText(dlg, QStringLiteral("Written by the zKestrel team"));
        QVERIFY(author);
        QCOMPARE(build->heightForWidth(235), author->heightForWidth(235));
        QCOMPARE(build->preferredWidth(), 235);
        // Everything sits on the one scroll panel.
        ZScrollPanel* panel = dlg.findChild<ZScrollPanel*>();
        QVERIFY(panel);
        QCOMPARE(name->parentWidget(), panel->contents());
        QCOMPARE(dlg.findChild<ZImage*>()->pos(), QPoint(10, 10));
        // Author, contact, two credits, build line and the three headers.
        QCOMPARE(panel->contents()->findChildren<ZLabel*>().size(), 8);
        dlg.show();
        ztest::saveShot(&dlg, QStringLiteral("about_dialog"));
    }

    // The box as the program shows it, with the icon installed beside the
    // executable.
    void shotWithTheProgramIcon()
    {
        const QString saved = gSettings->appDir;
        gSettings->appDir = QStringLiteral(ZK_BIN_DIR "/");
        ZAboutDialog dlg;
        gSettings->appDir = saved;
        QVERIFY(!dlg.findChild<ZImage*>()->pixmap().isNull());
        dlg.show();
        ztest::saveShot(&dlg, QStringLiteral("about_dialog_program_icon"));
    }

    void buildLineFillsAllSevenPieces()
    {
        const QString line = ZAboutDialog::buildLine();
        QVERIFY2(line.contains(QLatin1String(" for EZX-ZN5")), qPrintable(line));
        QVERIFY2(line.contains(QLatin1String(QT_VERSION_STR)), qPrintable(line));
        QVERIFY2(!line.contains(QLatin1Char('%')), qPrintable(line));
    }

    void onlyTheLeftKeyCloses()
    {
        ZAboutDialog dlg;
        QCOMPARE(dlg.softKey()->text(ZSoftKey::Left), QStringLiteral("OK"));
        QCOMPARE(dlg.softKey()->text(ZSoftKey::Right), QString());
        bool openAfterRight = false;
        QTimer::singleShot(0, &dlg, [&] {
            dlg.softKey()->click(ZSoftKey::Right);
            QTest::keyClick(&dlg, Qt::Key_Escape);
            QTimer::singleShot(0, &dlg, [&] {
                openAfterRight = dlg.isVisible();
                dlg.softKey()->click(ZSoftKey::Left);
            });
        });
        QCOMPARE(dlg.exec(), 1);
        QVERIFY(openAfterRight);
    }

private:
    QTemporaryDir m_dir;
    QString m_appDir;
};

ZK_TEST(ZAboutDialogTest)
#include "zaboutdialog_test.moc"
