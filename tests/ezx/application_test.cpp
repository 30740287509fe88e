// ZApplication: its channel's messages over the bus, and its font rule
// (a point is a pixel of the phone's screen).
#include "ezx/zapplication.h"
#include "ezx/zkbmainwidget.h"
#include "platform/qcopchannel.h"
#include "tests/common/ztest.h"

#include <QDataStream>
#include <QFontInfo>
#include <QTimer>

namespace {
ZApplication* zApp()
{
    return qobject_cast<ZApplication*>(QCoreApplication::instance());
}

QByteArray intData(qint32 value)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out << value;
    return data;
}
}

class ZApplicationTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(zApp());
    }

    void cleanup()
    {
        zApp()->setMainWidget(nullptr);
    }

    void registersItsChannel()
    {
        const QByteArray channel = zApp()->applicationChannel();
        QCOMPARE(channel, "EZX/Application/" + QByteArray::number(QCoreApplication::applicationPid()));
        QVERIFY(QCopChannel::isRegistered(channel));
    }

    void raiseShowsTheMainWidget()
    {
        ZKbMainWidget window(3);
        zApp()->setMainWidget(&window);
        QSignalSpy raised(zApp(), &ZApplication::signalRaise);
        QVERIFY(QCopChannel::send(zApp()->applicationChannel(), "raise()"));
        QTRY_COMPARE(raised.count(), 1);
        QVERIFY(window.isVisible());
    }

    void returnToIdleHidesTheMainWidget()
    {
        ZKbMainWidget window(3);
        zApp()->setMainWidget(&window);
        window.show();
        QSignalSpy asked(zApp(), &ZApplication::askReturnToIdle);
        QVERIFY(QCopChannel::send(zApp()->applicationChannel(), "ReturnToIdle(int)",
                                  intData(258)));
        QTRY_COMPARE(asked.count(), 1);
        QCOMPARE(asked.at(0).at(0).toInt(), 258);
        QVERIFY(window.isHidden());
    }

    void shortDataReadsAsZero()
    {
        QSignalSpy asked(zApp(), &ZApplication::askReturnToIdle);
        QVERIFY(QCopChannel::send(zApp()->applicationChannel(), "ReturnToIdle(int)",
                                  QByteArray("\x01", 1)));
        QTRY_COMPARE(asked.count(), 1);
        QCOMPARE(asked.at(0).at(0).toInt(), 0);
    }

    void quickQuitLeavesTheEventLoop()
    {
        // The guard ends a loop that the message failed to end, with 1.
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        guard.start(10000);
        QTimer::singleShot(0, [] {
            QCopChannel::send(zApp()->applicationChannel(), "quickQuit()");
        });
        QCOMPARE(QCoreApplication::exec(), 0);
    }

    void unknownMessageIsIgnored()
    {
        QSignalSpy raised(zApp(), &ZApplication::signalRaise);
        QSignalSpy asked(zApp(), &ZApplication::askReturnToIdle);
        QVERIFY(QCopChannel::send(zApp()->applicationChannel(), "noSuchMessage()"));
        // A known message sent after it arrives after it.
        QVERIFY(QCopChannel::send(zApp()->applicationChannel(), "ReturnToIdle(int)", intData(1)));
        QTRY_COMPARE(asked.count(), 1);
        QCOMPARE(raised.count(), 0);
    }

    void pointsArePixels()
    {
        QFont f = QApplication::font();
        f.setPointSize(16);
        QCOMPARE(QFontInfo(f).pixelSize(), 16);
        QWidget w;
        w.setFont(f);
        // About 16 pixels of text: well under what 16 points give at 96 dpi.
        QVERIFY(w.fontMetrics().height() <= 20);
        QVERIFY(w.fontMetrics().height() >= 16);
    }

    void defaultFontIsDejaVuSans13()
    {
        const QFont f = QApplication::font();
        QCOMPARE(QFontInfo(f).family(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(QFontInfo(f).pixelSize(), 13);
    }
};
ZK_TEST(ZApplicationTest)

#include "application_test.moc"
