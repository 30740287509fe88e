#include "tests/core/childprogram.h"

#include <QCoreApplication>

ChildProgram::ChildProgram(const QString& program)
    : m_env(QProcessEnvironment::systemEnvironment())
    , m_program(program)
{
}

ChildProgram::~ChildProgram()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool ChildProgram::start(const QStringList& args)
{
    m_process.setProcessEnvironment(m_env);
    m_process.start(m_program, args);
    return m_process.waitForStarted(10000);
}

QString ChildProgram::errors()
{
    m_errors += m_process.readAllStandardError();
    return QString::fromLatin1(m_errors);
}

void ChildProgram::readLines()
{
    m_partial += m_process.readAllStandardOutput();
    int end;
    while ((end = m_partial.indexOf('\n')) >= 0) {
        m_lines.append(QString::fromLatin1(m_partial.left(end)));
        m_partial.remove(0, end + 1);
    }
}

int ChildProgram::findLine(const QString& text, int from) const
{
    for (int i = qMax(0, from); i < m_lines.size(); ++i) {
        if (m_lines.at(i).contains(text))
            return i;
    }
    return -1;
}

int ChildProgram::waitForLine(const QString& text, int from, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        readLines();
        const int found = findLine(text, from);
        if (found >= 0)
            return found;
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0 || m_process.state() == QProcess::NotRunning)
            return -1;
        m_process.waitForReadyRead(static_cast<int>(qMin<qint64>(left, 200)));
    }
}

bool ChildProgram::waitForExit(int timeoutMs)
{
    const bool ended = m_process.state() == QProcess::NotRunning || m_process.waitForFinished(timeoutMs);
    readLines();
    errors();
    return ended;
}

int runQcop(const QStringList& args)
{
    QProcess qcop;
    qcop.start(QStringLiteral(ZK_BIN_DIR "/qcop"), args);
    if (!qcop.waitForFinished(10000)) {
        qcop.kill();
        qcop.waitForFinished(2000);
        return -1;
    }
    return qcop.exitStatus() == QProcess::NormalExit ? qcop.exitCode() : -1;
}

QString applicationChannel(qint64 pid)
{
    return QStringLiteral("EZX/Application/") + QString::number(pid);
}
