// logLine: one entry is one line of the log, whatever text it carries.
#include "platform/logline.h"
#include "tests/common/logcapture.h"
#include "tests/common/ztest.h"

class LogLineTest : public QObject
{
    Q_OBJECT
private slots:
    void controlCharactersCannotBreakOrDriveTheLog()
    {
        LogCapture log;
        logLine(QStringLiteral("Run app from path: a\nKilled a pid [1]"));
        logLine(QString::fromLatin1("name \x1b[2Jcleared\r\x7f\x09"
                                    "end"));
        // Latin-1 letters and the bytes of UTF-8 names read as Latin-1 stay.
        logLine(QString::fromLatin1("caf\xe9 \xd0\x9f\xd1\x80"));
        logLine(QString());
        const QStringList lines = log.finish();
        QCOMPARE(lines, QStringList({QStringLiteral("Run app from path: a?Killed a pid [1]"),
                                     QStringLiteral("name ?[2Jcleared???end"),
                                     QString::fromLatin1("caf\xe9 \xd0\x9f\xd1\x80")}));
    }
};

ZK_TEST(LogLineTest)

#include "logline_test.moc"
