// The qcop tool's argument encoding: any message and arguments, and
// parameter lists of the types it knows with arguments written for them.
// What it encodes must read back, with QDataStream, as the arguments given.
#include "fuzz/fuzzsupport.h"
#include "tools/qcopargs.h"

#include <QDataStream>
#include <QUuid>

namespace {

const char* const typeNames[] = {"int", "uint", "long", "unsigned", "QString", "const QString&", "QCString",
                                 "QByteArray", "bool", "QUuid", "qint32", "char*", "double", ""};

enum class Kind {
    Signed,
    Unsigned,
    String,
    Bytes,
    Bool,
    Uuid,
    Other
};

Kind kindOf(const QByteArray& type)
{
    // Every name the tool documents for a 32-bit integer.
    static const QList<QByteArray> signedNames = {"int", "long", "signed", "signed int", "signed long",
                                                  "qint32", "Q_INT32", "int32_t"};
    static const QList<QByteArray> unsignedNames = {"uint", "ulong", "unsigned", "unsigned int", "unsigned long",
                                                    "quint32", "Q_UINT32", "uint32_t"};
    if (signedNames.contains(type))
        return Kind::Signed;
    if (unsignedNames.contains(type))
        return Kind::Unsigned;
    if (type == "QString" || type == "const QString&")
        return Kind::String;
    if (type == "QCString" || type == "QByteArray")
        return Kind::Bytes;
    if (type == "bool")
        return Kind::Bool;
    if (type == "QUuid")
        return Kind::Uuid;
    return Kind::Other;
}

// An argument a person would type for that kind.
QByteArray argumentFor(Kind kind, FuzzedDataProvider& input)
{
    const QByteArray pad(input.ConsumeIntegralInRange<int>(0, 1), ' ');
    switch (kind) {
    case Kind::Signed: {
        const qint32 v = input.ConsumeIntegral<qint32>();
        if (v >= 0 && input.ConsumeBool())
            return pad + "0x" + QByteArray::number(v, 16) + pad;
        return pad + QByteArray::number(v) + pad;
    }
    case Kind::Unsigned: {
        const quint32 v = input.ConsumeIntegral<quint32>();
        return pad + (input.ConsumeBool() ? "0X" + QByteArray::number(v, 16).toUpper() : QByteArray::number(v)) + pad;
    }
    case Kind::Bool: {
        const char* const forms[] = {"true", "false", "1", "0", "TRUE", "False"};
        return pad + forms[input.ConsumeIntegralInRange<int>(0, 5)] + pad;
    }
    case Kind::Uuid: {
        QByteArray raw = fuzz::bytes(input.ConsumeBytesAsString(16));
        raw.resize(16, '\0');
        const QUuid uuid = QUuid::fromRfc4122(raw);
        return uuid.toByteArray(input.ConsumeBool() ? QUuid::WithBraces : QUuid::WithoutBraces);
    }
    default:
        return fuzz::bytes(input.ConsumeRandomLengthString(24));
    }
}

qint64 integerOf(const QByteArray& arg)
{
    const QByteArray t = arg.trimmed();
    if (t.startsWith("0x") || t.startsWith("0X"))
        return t.mid(2).toLongLong(nullptr, 16);
    return t.toLongLong(nullptr, 10);
}

// Reads data back as the receiver would and compares with the arguments.
void checkReadsBack(const QList<QByteArray>& types, const QList<QByteArray>& args, const QByteArray& data)
{
    QDataStream in(data);
    for (qsizetype i = 0; i < types.size(); ++i) {
        const QByteArray& arg = args.at(i);
        switch (kindOf(types.at(i))) {
        case Kind::Signed: {
            qint32 v = 0;
            in >> v;
            FUZZ_CHECK(v == integerOf(arg));
            break;
        }
        case Kind::Unsigned: {
            quint32 v = 0;
            in >> v;
            FUZZ_CHECK(v == integerOf(arg));
            break;
        }
        case Kind::String: {
            QString v;
            in >> v;
            FUZZ_CHECK(!v.isNull() && v == QString::fromLocal8Bit(arg));
            break;
        }
        case Kind::Bytes: {
            QByteArray v;
            in >> v;
            FUZZ_CHECK(!v.isNull() && v == arg);
            break;
        }
        case Kind::Bool: {
            bool v = false;
            in >> v;
            const QByteArray t = arg.trimmed().toLower();
            FUZZ_CHECK(v == (t == "true" || t == "1"));
            break;
        }
        case Kind::Uuid: {
            QUuid v;
            in >> v;
            FUZZ_CHECK(v == QUuid::fromString(QString::fromLatin1(arg)));
            break;
        }
        case Kind::Other:
            FUZZ_CHECK(!"a type without an encoding was encoded");
        }
    }
    FUZZ_CHECK(in.status() == QDataStream::Ok && in.atEnd());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray message;
    QList<QByteArray> args;
    bool allFit = false;

    if (fuzz::generatorInput(data, size)) {
        // name(type,...) and arguments of those types.
        FuzzedDataProvider input(data, size);
        QList<QByteArray> types;
        const int count = input.ConsumeIntegralInRange<int>(0, 6);
        for (int i = 0; i < count; ++i)
            types << typeNames[input.ConsumeIntegralInRange<int>(0, std::size(typeNames) - 1)];
        message = "f(" + types.join(input.ConsumeBool() ? ", " : ",") + ")";
        allFit = true;
        for (const QByteArray& type : std::as_const(types)) {
            const Kind kind = kindOf(type);
            allFit = allFit && kind != Kind::Other;
            args << argumentFor(kind, input);
        }
    } else {
        // A command line as text: the message on the first line, then one
        // argument per line.
        args = fuzz::bytes(data, size).split('\n');
        message = args.takeFirst();
    }

    QList<QByteArray> types;
    bool hasList = false;
    QString error;
    const bool parsed = parseQcopParameters(message, &types, &hasList, &error);
    FUZZ_CHECK(parsed || !error.isEmpty());
    for (const QByteArray& type : std::as_const(types))
        FUZZ_CHECK(!type.isEmpty() && type == type.trimmed());

    QByteArray out = "untouched";
    error.clear();
    const bool encoded = encodeQcopArgs(message, args, &out, &error);
    if (allFit)
        FUZZ_CHECK(encoded);
    if (!encoded) {
        FUZZ_CHECK(out == "untouched" && !error.isEmpty());
        return 0;
    }
    FUZZ_CHECK(parsed);
    if (!hasList) {
        // Without a parameter list: nothing, or one UUID in braces.
        FUZZ_CHECK(args.size() <= 1);
        FUZZ_CHECK(out.size() == (args.isEmpty() ? 0 : 16));
        if (!args.isEmpty())
            checkReadsBack({"QUuid"}, args, out);
        return 0;
    }
    FUZZ_CHECK(types.size() == args.size());
    checkReadsBack(types, args, out);
    return 0;
}
