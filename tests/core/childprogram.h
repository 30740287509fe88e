#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QStringList>

// A program of the build started as a child of the test, with its standard
// output read line by line. Every wait is bounded; nothing sleeps blindly.
class ChildProgram
{
public:
    explicit ChildProgram(const QString& program);
    ~ChildProgram();
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    QProcessEnvironment& environment() { return m_env; }

    bool start(const QStringList& args);
    qint64 pid() const { return m_process.processId(); }

    // Lines of standard output read so far.
    const QStringList& lines() const { return m_lines; }
    // Standard error read so far.
    QString errors();

    // Waits for a line that contains `text` at index `from` or later and
    // returns its index, or -1 when none came within the time.
    int waitForLine(const QString& text, int from = 0, int timeoutMs = 15000);
    // Index of the first line from `from` on that contains `text`, or -1.
    int findLine(const QString& text, int from = 0) const;

    // Waits for the child to end; false when it did not within the time.
    bool waitForExit(int timeoutMs = 15000);
    int exitCode() const { return m_process.exitCode(); }
    QProcess::ExitStatus exitStatus() const { return m_process.exitStatus(); }

private:
    void readLines();

    QProcess m_process;
    QProcessEnvironment m_env;
    QString m_program;
    QByteArray m_partial;
    QStringList m_lines;
    QByteArray m_errors;
};

// Runs `qcop` from the build with the arguments and returns its exit code
// (-1 when it did not end in time).
int runQcop(const QStringList& args);

// The channel of a process's application object.
QString applicationChannel(qint64 pid);
