// getStatusField on any status file, for the keys the details dialog asks
// for and any other, and on kernel-like files where a task's name carries
// other keys' text.
#include "fuzz/fuzzsupport.h"
#include "process/procstatus.h"

using namespace zk::proc;

namespace {
// "Name:" first: the generator writes it once, as the first line.
const char* const keys[] = {"Name:", "VmSize:", "Threads:", "Uid:", "State:", "Gid:"};

void checkField(const QString& path, const QString& key)
{
    const QString line = getStatusField(path, key, true);
    const QString value = getStatusField(path, key, false);
    // The whole line is one blank between words, none at the ends; the
    // value has no blanks at its ends; neither runs past its line.
    // (A key that no line starts with comes back as it was given.)
    FUZZ_CHECK(line == key || line == line.simplified());
    FUZZ_CHECK(value == value.trimmed());
    FUZZ_CHECK(line == key || !line.contains(QLatin1Char('\n')));
    FUZZ_CHECK(!value.contains(QLatin1Char('\n')));
    if (key == key.simplified() && !key.isEmpty())
        FUZZ_CHECK(line.startsWith(key));
    const QString user = userNameForUid(value);
    FUZZ_CHECK(user == QLatin1String("root") || user == QLatin1String("EZX"));
}

QByteArray plainText(FuzzedDataProvider& input, size_t most)
{
    QByteArray text = fuzz::bytes(input.ConsumeRandomLengthString(most));
    text.replace('\n', ' ').replace('\r', ' ');
    return text;
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (!fuzz::generatorInput(data, size)) {
        const QString path = fuzz::scratchFile("status", fuzz::bytes(data, size));
        for (const char* key : keys)
            checkField(path, QString::fromLatin1(key));
        // Keys the dialog never asks for, cut from the text itself.
        const QString text = QString::fromLatin1(fuzz::bytes(data, qMin<size_t>(size, 12)));
        checkField(path, text);
        checkField(path, text.left(text.indexOf(QLatin1Char(':')) + 1));
        return 0;
    }

    // A status file: "Name:" first, holding any text (a task names itself),
    // then fields in the kernel's form.
    FuzzedDataProvider input(data, size);
    const QByteArray name = plainText(input, 64);
    QByteArray text = "Name:\t" + name + '\n';
    QByteArray firstValue[std::size(keys)];
    bool seen[std::size(keys)] = {};
    while (input.remaining_bytes() > 0) {
        const size_t k = input.ConsumeIntegralInRange<size_t>(1, std::size(keys) - 1);
        const QByteArray value = plainText(input, 24).trimmed();
        text += keys[k] + QByteArray("\t") + value + '\n';
        if (!seen[k]) {
            seen[k] = true;
            firstValue[k] = value;
        }
    }
    const QString path = fuzz::scratchFile("status", text);
    for (size_t k = 1; k < std::size(keys); ++k) {
        const QString key = QString::fromLatin1(keys[k]);
        // The name line never answers for another key.
        const QString want = seen[k] ? QString::fromLatin1(firstValue[k]).trimmed() : QString();
        FUZZ_CHECK(getStatusField(path, key, false) == want);
        checkField(path, key);
    }
    FUZZ_CHECK(getStatusField(path, QStringLiteral("Name:"), false) == QString::fromLatin1(name).trimmed());
    return 0;
}
