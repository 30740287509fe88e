#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The table the benchmark prints and docs/BENCHMARKS.md holds.
struct ReportRow
{
    QString part;       // "1. Scan"
    QString measure;    // what was timed
    QString value;      // zKestrel's median
    QString reference;  // the reference's median, or empty
    QString ratio;      // as the target states it, or empty
    QString target;
    QString verdict;  // "PASS", "MISS" or "info"
};

class Report
{
public:
    void add(const ReportRow& row) { m_rows.append(row); }
    // A line under the table: counts, CPU figures, sanity checks.
    void note(const QString& line) { m_notes.append(line); }
    void setHeader(const QStringList& lines) { m_header = lines; }

    QString markdown() const;
    int misses() const;

private:
    QStringList m_header;
    QList<ReportRow> m_rows;
    QStringList m_notes;
};

// Number formats of the table.
QString ms(double value);
// "12.3 ms CPU (15.0 ms wall)"
QString cpuAndWall(double cpuMs, double wallMs);
// "15.0 ms (CPU 12.3 ms)": a wall time with the CPU time it took beside it,
// so that a figure stretched by a busy machine shows as such.
QString wallWithCpu(double wallMs, double cpuMs);
QString us(double value);
QString times(double ratio);
QString percent(double value);
QString mib(double kb);
QString verdict(bool pass);
