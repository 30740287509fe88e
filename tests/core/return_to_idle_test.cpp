// The settings object takes return-to-idle away from the application.
#include "tests/common/ztest.h"

#include <QProcess>

namespace {

QString probe(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(ZK_BIN_DIR "/zk_settings_probe"), args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("<probe failed: %1>").arg(QString::fromLocal8Bit(p.readAllStandardError()));
    const QStringList lines = QString::fromLatin1(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    return lines.isEmpty() ? QString() : lines.last();
}

}  // namespace

class ReturnToIdleTest : public QObject
{
    Q_OBJECT

private slots:
    void applicationHidesItsWidgetOnItsOwn()
    {
        QCOMPARE(probe({}), QStringLiteral("hidden"));
    }

    void settingsObjectDisconnectsThatHandling()
    {
        QCOMPARE(probe({"settings"}), QStringLiteral("visible"));
    }
};

ZK_TEST(ReturnToIdleTest)
#include "return_to_idle_test.moc"
