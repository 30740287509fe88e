#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// One task's folder in the process table ("/proc/<pid>"), opened once: its
// files are read relative to that handle, so that everything read through it
// describes the same process. When the task ends, its folder answers no more,
// even after its pid has gone to a new process.
//
// The folder is opened without following a link, so "self" and the like are
// never taken for a task. The process table is a parameter: tests and
// benchmarks point it at a folder of their own.
class TaskDir
{
public:
    explicit TaskDir(int pid, const QString& procRoot = QStringLiteral("/proc"));
    ~TaskDir();
    TaskDir(TaskDir&& other) noexcept;
    TaskDir& operator=(TaskDir&& other) noexcept;
    TaskDir(const TaskDir&) = delete;
    TaskDir& operator=(const TaskDir&) = delete;

    int pid() const { return m_pid; }
    // True when the folder was there when it was opened: the task existed.
    bool isOpen() const { return m_fd >= 0; }

    // A file of the folder ("cmdline", "stat", "status", "maps", or a path
    // below it such as "task/<tid>/schedstat"), read until read() returns 0
    // but never more than limit + 1 bytes (see readFdAtMost). Nothing when
    // the folder or the file cannot be opened.
    std::optional<QByteArray> read(const char* name, qint64 limit) const;
    // The names in a folder below the task's ("task": its threads), without
    // "." and ".."; empty when it cannot be read.
    QList<QByteArray> entries(const char* folder) const;

private:
    int m_pid = 0;
    int m_fd = -1;
};
