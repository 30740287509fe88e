#include "platform/logline.h"

#include <cstdio>

void logLine(const QString& text)
{
    if (text.isEmpty())
        return;
    const QByteArray bytes = text.toLatin1();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
