#include "tests/common/ztest.h"

#include "ezx/mybasedlg.h"
#include "ezx/zsoftkey.h"

#include <QPointer>
#include <QProcess>
#include <QTimer>

#include <functional>

namespace {

// A dialog as the program's dialogs are made: its own accept(), the soft
// keys connected by slot name.
class CountingDlg : public MyBaseDlg
{
    Q_OBJECT
public:
    CountingDlg()
    {
        auto* keys = new ZSoftKey(nullptr, this, this);
        keys->setText(ZSoftKey::Left, QStringLiteral("Save"));
        keys->setText(ZSoftKey::Right, QStringLiteral("Cancel"));
        keys->setClickedSlot(ZSoftKey::Left, this, SLOT(accept()));
        keys->setClickedSlot(ZSoftKey::Right, this, SLOT(reject()));
        setSoftKey(keys);
    }

    int accepted = 0;

public slots:
    void accept() override
    {
        ++accepted;
        MyBaseDlg::accept();
    }
};

// Runs `during` from inside the dialog's loop, then returns exec()'s value.
int runWith(MyBaseDlg& dlg, const std::function<void()>& during)
{
    QTimer::singleShot(0, &dlg, during);
    return dlg.exec();
}

}

class MyBaseDlgTest : public QObject
{
    Q_OBJECT
private slots:
    void leftSoftKeyRunsTheSubclassAccept()
    {
        CountingDlg dlg;
        bool shown = false;
        const int r = runWith(dlg, [&] {
            shown = dlg.isVisible();
            dlg.softKey()->click(ZSoftKey::Left);
        });
        QCOMPARE(r, 1);
        QCOMPARE(dlg.accepted, 1);
        QVERIFY(shown);
        QVERIFY(!dlg.isVisible());
        QVERIFY(dlg.inLoop);
        QCOMPARE(dlg.result, 1);
    }

    void leftSoftKeyFromTheKeyboard()
    {
        CountingDlg dlg;
        const int r = runWith(dlg, [&] { QTest::keyClick(&dlg, Qt::Key_F10); });
        QCOMPARE(r, 1);
        QCOMPARE(dlg.accepted, 1);
    }

    void rightSoftKeyRejects()
    {
        CountingDlg dlg;
        const int r = runWith(dlg, [&] { dlg.softKey()->click(ZSoftKey::Right); });
        QCOMPARE(r, 0);
        QCOMPARE(dlg.accepted, 0);
        QVERIFY(!dlg.isVisible());
    }

    void eachRunStartsFromZero()
    {
        CountingDlg dlg;
        QCOMPARE(runWith(dlg, [&] { dlg.softKey()->click(ZSoftKey::Left); }), 1);
        QCOMPARE(runWith(dlg, [&] { dlg.close(); }), 0);
    }

    void windowManagerCloseEndsWithZero()
    {
        CountingDlg dlg;
        const int r = runWith(dlg, [&] { QVERIFY(dlg.close()); });
        QCOMPARE(r, 0);
        QVERIFY(!dlg.isVisible());
    }

    // The outer dialog is closed while an inner one, opened from the outer's
    // loop, still runs: only the outer's run ends, and only once the inner
    // one is over.
    void closingOuterFirstLeavesInnerRunning()
    {
        CountingDlg outer;
        CountingDlg inner;
        int innerResult = -1;
        bool innerReturned = false;
        bool innerRanOn = false;
        bool innerVisible = false;

        const int outerResult = runWith(outer, [&] {
            QTimer::singleShot(0, &outer, [&] {
                outer.softKey()->click(ZSoftKey::Left);
                // One more turn of the loops: had the outer's close ended the
                // inner loop, inner.exec() would have returned by now.
                QTimer::singleShot(0, &inner, [&] {
                    innerRanOn = !innerReturned;
                    innerVisible = inner.isVisible();
                    inner.softKey()->click(ZSoftKey::Right);
                });
            });
            innerResult = inner.exec();
            innerReturned = true;
        });

        QVERIFY(innerRanOn);
        QVERIFY(innerVisible);
        QCOMPARE(innerResult, 0);
        QCOMPARE(outerResult, 1);
        QCOMPARE(outer.accepted, 1);
    }

    void closingInnerFirstLeavesOuterRunning()
    {
        CountingDlg outer;
        CountingDlg inner;
        int innerResult = -1;
        bool outerStillUp = false;

        const int outerResult = runWith(outer, [&] {
            QTimer::singleShot(0, &inner, [&] { inner.softKey()->click(ZSoftKey::Left); });
            innerResult = inner.exec();
            QTimer::singleShot(0, &outer, [&] {
                outerStillUp = outer.isVisible();
                outer.softKey()->click(ZSoftKey::Right);
            });
        });

        QCOMPARE(innerResult, 1);
        QVERIFY(outerStillUp);
        QCOMPARE(outerResult, 0);
    }

    void doneWithoutARunLeavesOtherLoopsAlone()
    {
        CountingDlg running;
        CountingDlg idle;
        bool ranOn = false;
        const int r = runWith(running, [&] {
            idle.softKey()->click(ZSoftKey::Left);  // never exec'ed
            QTimer::singleShot(0, &running, [&] {
                ranOn = running.isVisible();
                running.softKey()->click(ZSoftKey::Left);
            });
        });
        QVERIFY(ranOn);
        QCOMPARE(r, 1);
        QCOMPARE(idle.result, 1);
    }

    void deletedDuringItsRunStillReturns()
    {
        QPointer<CountingDlg> dlg = new CountingDlg;
        CountingDlg* raw = dlg;
        QTimer::singleShot(0, [raw] { delete raw; });
        QCOMPARE(raw->exec(), 0);
        QVERIFY(dlg.isNull());
    }

    // A dialog that is the application's main widget ends the application
    // when it is done. That needs a ZApplication of its own: a child process.
    void mainWidgetDialogQuitsTheApplication()
    {
        QProcess helper;
        helper.setProgram(QStringLiteral(ZK_BIN_DIR "/zk_dialog_quit"));
        helper.start();
        QVERIFY2(helper.waitForStarted(), qPrintable(helper.errorString()));
        const bool finished = helper.waitForFinished(60000);
        if (!finished)
            helper.kill();
        QVERIFY2(finished, "the application went on after its main dialog was done");
        const QString out = QString::fromLatin1(helper.readAllStandardOutput());
        QCOMPARE(helper.exitStatus(), QProcess::NormalExit);
        QCOMPARE(helper.exitCode(), 0);
        QVERIFY2(out.contains(QLatin1String("exec 1\n")), qPrintable(out));
        QVERIFY2(out.contains(QLatin1String("application ended\n")), qPrintable(out));
    }
};

ZK_TEST(MyBaseDlgTest)
#include "mybasedlg_test.moc"
