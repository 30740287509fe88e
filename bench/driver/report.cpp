#include "bench/driver/report.h"

#include <algorithm>
#include <cmath>

namespace {
QString cell(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('|'), QStringLiteral("\\|"));
    return out.isEmpty() ? QStringLiteral("–") : out;
}

QString decimals(double value)
{
    const double a = std::fabs(value);
    return QString::number(value, 'f', a >= 100 ? 0 : a >= 10 ? 1
                                                  : a >= 1    ? 2
                                                              : 3);
}
}

QString ms(double value)
{
    return decimals(value) + QStringLiteral(" ms");
}

QString cpuAndWall(double cpuMs, double wallMs)
{
    return ms(cpuMs) + QStringLiteral(" CPU (") + ms(wallMs) + QStringLiteral(" wall)");
}

QString wallWithCpu(double wallMs, double cpuMs)
{
    return ms(wallMs) + QStringLiteral(" (CPU ") + ms(cpuMs) + QLatin1Char(')');
}

QString us(double value)
{
    return decimals(value) + QStringLiteral(" µs");
}

QString times(double ratio)
{
    return decimals(ratio) + QStringLiteral("×");
}

QString percent(double value)
{
    return QString::number(value, 'f', value >= 1 ? 2 : 4) + QStringLiteral(" %");
}

QString mib(double kb)
{
    return QString::number(kb / 1024.0, 'f', 1) + QStringLiteral(" MiB");
}

QString verdict(bool pass)
{
    return pass ? QStringLiteral("PASS") : QStringLiteral("MISS");
}

QString Report::markdown() const
{
    QString out;
    for (const QString& line : m_header)
        out += line + QLatin1Char('\n');
    if (!m_header.isEmpty())
        out += QLatin1Char('\n');
    out += QStringLiteral("| part | measure | zKestrel | reference | ratio | target | result |\n");
    out += QStringLiteral("|---|---|---|---|---|---|---|\n");
    // Rows in the order of the parts, whatever order they were measured in.
    QList<ReportRow> rows = m_rows;
    std::stable_sort(rows.begin(), rows.end(),
                     [](const ReportRow& a, const ReportRow& b) { return a.part.left(1) < b.part.left(1); });
    for (const ReportRow& r : rows) {
        out += QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 | %7 |\n")
                   .arg(cell(r.part), cell(r.measure), cell(r.value), cell(r.reference), cell(r.ratio),
                        cell(r.target), cell(r.verdict));
    }
    if (!m_notes.isEmpty()) {
        out += QLatin1Char('\n');
        for (const QString& n : m_notes)
            out += QStringLiteral("- ") + n + QLatin1Char('\n');
    }
    return out;
}

int Report::misses() const
{
    int n = 0;
    for (const ReportRow& r : m_rows)
        n += r.verdict == QLatin1String("MISS") ? 1 : 0;
    return n;
}
