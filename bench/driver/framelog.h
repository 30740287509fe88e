#pragma once

#include <QString>

// The file a measured program's frame probe (bench/helpers/frameprobe.cpp)
// writes: one monotonic-clock stamp per frame handed to the screen.
class FrameLog
{
public:
    explicit FrameLog(const QString& path);
    ~FrameLog();

    QString path() const { return m_path; }
    // The environment that makes a program write this log.
    QStringList environment(const QString& probeLibrary) const;

    // The first stamp later than `after` (monotonic ns), waiting at most
    // timeoutMs for it; -1 when none came. cpuNs, when given, gets the CPU
    // time the program had used when it handed that frame over.
    qint64 firstFrameAfter(qint64 after, int timeoutMs, qint64* cpuNs = nullptr) const;

private:
    QString m_path;
};
