#include "platform/logline.h"

#include <cstdio>

namespace {
void writeLine(const QString& text, std::FILE* stream)
{
    if (text.isEmpty())
        return;
    QByteArray bytes = text.toLatin1();
    // Log lines carry text from other programs (command lines, registry
    // names, bus messages): a line feed there would forge a second entry,
    // an escape byte would drive the terminal that shows the log.
    for (char& c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f)
            c = '?';
    }
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}
}

void logLine(const QString& text)
{
    writeLine(text, stdout);
}

void noteLine(const QString& text)
{
    writeLine(text, stderr);
}
