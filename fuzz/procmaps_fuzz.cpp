// The maps filter of the details dialog: any maps text, read from a string
// and from a file.
#include "fuzz/fuzzsupport.h"
#include "process/procstatus.h"

using namespace zk::proc;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzz::bytes(data, size);
    const QStringList paths = mappedPaths(QString::fromLatin1(bytes));

    QString earlier;
    for (const QString& path : paths) {
        // A path: from its first "/", trimmed, never shared memory, and not
        // within one listed before it.
        FUZZ_CHECK(path.startsWith(QLatin1Char('/')));
        FUZZ_CHECK(path == path.trimmed());
        FUZZ_CHECK(!path.contains(QLatin1String("/SYSV")));
        FUZZ_CHECK(!path.contains(QLatin1Char('\n')));
        FUZZ_CHECK(!earlier.contains(path));
        earlier += path + QLatin1Char('|');
    }
    FUZZ_CHECK(paths.size() <= bytes.count('\n') + 1);

    // The dialog reads the task's file as Latin-1 text, where the text mode
    // drops every carriage return: the list of the text without them.
    QByteArray withoutCr = bytes;
    withoutCr.replace('\r', "");
    const QStringList fromFile = readMappedPaths(fuzz::scratchFile("maps", bytes));
    FUZZ_CHECK(fromFile == (withoutCr == bytes ? paths : mappedPaths(QString::fromLatin1(withoutCr))));
    return 0;
}
