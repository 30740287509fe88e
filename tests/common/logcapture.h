#pragma once

// Catches what the program logs (logLine writes to standard output) until
// finish(), including the output of child processes forked meanwhile. Call
// finish() before checking anything: QtTest reports on standard output too.
// LogCapture(stderr) catches the notes on standard error instead.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdio>

#include <unistd.h>

class LogCapture
{
public:
    explicit LogCapture(std::FILE* stream = stdout)
        : m_stream(stream)
    {
        std::fflush(m_stream);
        m_file = std::tmpfile();
        m_saved = ::dup(::fileno(m_stream));
        if (m_file)
            ::dup2(::fileno(m_file), ::fileno(m_stream));
    }
    ~LogCapture() { restore(); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // Stops catching and returns the lines logged.
    QStringList finish()
    {
        const QStringList out = lines();
        restore();
        return out;
    }

    // The lines logged since the last call, still catching.
    QStringList takeNew()
    {
        std::fflush(stdout);
        QByteArray fresh;
        if (m_file) {
            const off_t end = ::lseek(::fileno(m_file), 0, SEEK_END);
            if (end > m_taken) {
                fresh.resize(static_cast<qsizetype>(end - m_taken));
                if (::pread(::fileno(m_file), fresh.data(), static_cast<size_t>(end - m_taken), m_taken)
                    != end - m_taken)
                    fresh.clear();
                // Only whole lines; the rest comes with the next call.
                const qsizetype whole = fresh.lastIndexOf('\n') + 1;
                fresh.truncate(whole);
                m_taken += whole;
            }
        }
        QStringList out = QString::fromLatin1(fresh).split(QLatin1Char('\n'));
        if (!out.isEmpty() && out.last().isEmpty())
            out.removeLast();
        return out;
    }

private:
    QStringList lines()
    {
        std::fflush(m_stream);
        QByteArray all;
        if (m_file) {
            const off_t end = ::lseek(::fileno(m_file), 0, SEEK_END);
            all.resize(static_cast<qsizetype>(end));
            if (end > 0 && ::pread(::fileno(m_file), all.data(), static_cast<size_t>(end), 0) != end)
                all.clear();
        }
        QStringList out = QString::fromLatin1(all).split(QLatin1Char('\n'));
        if (!out.isEmpty() && out.last().isEmpty())
            out.removeLast();
        return out;
    }

    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(m_stream);
        ::dup2(m_saved, ::fileno(m_stream));
        ::close(m_saved);
        m_saved = -1;
        if (m_file)
            std::fclose(m_file);
        m_file = nullptr;
    }

    std::FILE* m_stream;
    std::FILE* m_file = nullptr;
    int m_saved = -1;
    off_t m_taken = 0;
};
