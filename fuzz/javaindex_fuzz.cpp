// The Java index reader: any index text, from bytes and from a file, and
// records of the phone's form with any numbers and names.
#include "catalogue/javaindex.h"
#include "fuzz/fuzzsupport.h"

namespace {
void checkNames(const JavaNames& names)
{
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        // Keys are numbers as QString::number writes them, names a piece of
        // one line up to its first "|".
        bool ok = false;
        const qlonglong n = it.key().toLongLong(&ok);
        FUZZ_CHECK(ok && n >= 0 && n <= 0x7fffffff);
        FUZZ_CHECK(QString::number(n) == it.key());
        FUZZ_CHECK(!it.value().contains(QLatin1Char('|')));
        FUZZ_CHECK(it.value().size() <= javaIndexPieceBytes);
        const qsizetype newline = it.value().indexOf(QLatin1Char('\n'));
        FUZZ_CHECK(newline < 0 || newline == it.value().size() - 1);
    }
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (fuzz::generatorInput(data, size)) {
        FuzzedDataProvider input(data, size);
        // Records as the phone writes them; a later number replaces an
        // earlier one.
        QByteArray text;
        JavaNames want;
        while (input.remaining_bytes() > 0) {
            const quint32 number = input.ConsumeIntegralInRange<quint32>(0, 0x7fffffff);
            QByteArray name = fuzz::bytes(input.ConsumeRandomLengthString(200));
            name.replace('|', '_').replace('\n', ' ');
            const int zeros = input.ConsumeIntegralInRange<int>(0, 3);
            text += QByteArray(input.ConsumeIntegralInRange<int>(0, 2), ' ') + QByteArray(zeros, '0')
                    + QByteArray::number(number) + "||" + name + "|MIDlet|" + QByteArray::number(number) + '\n';
            want.insert(QString::number(number), QString::fromLatin1(name));
        }
        JavaNames got;
        FUZZ_CHECK(parseJavaIndex(text, got) == 0);
        FUZZ_CHECK(got == want);
        return 0;
    }

    const QByteArray text = fuzz::bytes(data, size);
    JavaNames names;
    const int skipped = parseJavaIndex(text, names);
    checkNames(names);
    FUZZ_CHECK(skipped >= 0 && skipped <= text.count('\n') + 1);

    JavaNames fromFile;
    const JavaIndexRead read = readJavaIndexFile(fuzz::scratchFile("index", text), fromFile);
    FUZZ_CHECK(read.opened && read.skippedLines == skipped && fromFile == names);

    // One more record after the text replaces that number's name only.
    if (text.isEmpty() || text.endsWith('\n')) {
        JavaNames more = names;
        parseJavaIndex("7||Extra|x\n", more);
        FUZZ_CHECK(more.value(QStringLiteral("7")) == QLatin1String("Extra"));
        JavaNames again;
        parseJavaIndex(text + "7||Extra|x\n", again);
        FUZZ_CHECK(again == more);
    }
    return 0;
}
