#include "tools/qcopargs.h"

#include <QDataStream>
#include <QIODevice>
#include <QRegularExpression>
#include <QUuid>

#include <limits>

namespace {

enum class Kind {
    Signed32,
    Unsigned32,
    String,
    Bytes,
    Bool,
    Uuid,
    Unknown
};

Kind kindOf(const QByteArray& type)
{
    static const QList<QByteArray> signedNames = {"int", "long", "signed", "signed int", "signed long",
                                                  "qint32", "Q_INT32", "int32_t"};
    static const QList<QByteArray> unsignedNames = {"uint", "ulong", "unsigned", "unsigned int", "unsigned long",
                                                    "quint32", "Q_UINT32", "uint32_t"};
    if (signedNames.contains(type))
        return Kind::Signed32;
    if (unsignedNames.contains(type))
        return Kind::Unsigned32;
    if (type == "QString")
        return Kind::String;
    if (type == "QCString" || type == "QByteArray")
        return Kind::Bytes;
    if (type == "bool")
        return Kind::Bool;
    if (type == "QUuid")
        return Kind::Uuid;
    return Kind::Unknown;
}

// "const QString&" and "QString" name the same parameter.
QByteArray bareType(QByteArray type)
{
    type = type.simplified();
    if (type.startsWith("const "))
        type = type.mid(6);
    if (type.endsWith('&'))
        type.chop(1);
    return type.simplified();
}

QString quoted(const QByteArray& bytes)
{
    return QStringLiteral("'") + QString::fromLocal8Bit(bytes) + QStringLiteral("'");
}

// Decimal, or hexadecimal after "0x"; a sign only in decimal.
bool parseInteger(const QByteArray& text, qint64* value)
{
    bool ok = false;
    const QByteArray t = text.trimmed();
    if (t.size() > 2 && (t.startsWith("0x") || t.startsWith("0X"))) {
        const QByteArray digits = t.mid(2);
        if (digits.startsWith('-') || digits.startsWith('+'))
            return false;
        *value = digits.toLongLong(&ok, 16);
    } else
        *value = t.toLongLong(&ok, 10);
    return ok && !t.isEmpty();
}

bool parseUuid(const QByteArray& text, bool bracesRequired, QUuid* uuid)
{
    static const QRegularExpression form(QStringLiteral(
        "^\\{?[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}\\}?$"));
    const QString s = QString::fromLatin1(text);
    if (!form.match(s).hasMatch() || s.startsWith(QLatin1Char('{')) != s.endsWith(QLatin1Char('}')))
        return false;
    if (bracesRequired && !s.startsWith(QLatin1Char('{')))
        return false;
    *uuid = QUuid::fromString(s);
    return true;
}

bool encodeOne(QDataStream& out, const QByteArray& type, const QByteArray& arg, QString* error)
{
    switch (kindOf(type)) {
    case Kind::Signed32:
    case Kind::Unsigned32: {
        const bool isSigned = kindOf(type) == Kind::Signed32;
        qint64 value = 0;
        const qint64 low = isSigned ? std::numeric_limits<qint32>::min() : 0;
        const qint64 high = isSigned ? std::numeric_limits<qint32>::max() : std::numeric_limits<quint32>::max();
        if (!parseInteger(arg, &value) || value < low || value > high) {
            *error = QStringLiteral("not a number for %1: %2").arg(QString::fromLatin1(type), quoted(arg));
            return false;
        }
        if (isSigned)
            out << static_cast<qint32>(value);
        else
            out << static_cast<quint32>(value);
        return true;
    }
    // An empty argument is an empty value, never the null one (which
    // QDataStream writes as length 0xffffffff).
    case Kind::String: {
        const QString text = QString::fromLocal8Bit(arg);
        out << (text.isNull() ? QString(QLatin1String("")) : text);
        return true;
    }
    case Kind::Bytes:
        out << (arg.isNull() ? QByteArray("") : arg);
        return true;
    case Kind::Bool: {
        const QByteArray v = arg.trimmed().toLower();
        if (v != "true" && v != "false" && v != "1" && v != "0") {
            *error = QStringLiteral("not a bool (true, false, 1, 0): %1").arg(quoted(arg));
            return false;
        }
        out << (v == "true" || v == "1");
        return true;
    }
    case Kind::Uuid: {
        QUuid uuid;
        if (!parseUuid(arg, false, &uuid)) {
            *error = QStringLiteral("not a UUID ({xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}): %1").arg(quoted(arg));
            return false;
        }
        out << uuid;
        return true;
    }
    case Kind::Unknown:
        break;
    }
    *error = QStringLiteral("cannot encode parameter type %1").arg(quoted(type));
    return false;
}

}

bool parseQcopParameters(const QByteArray& message, QList<QByteArray>* types, bool* hasList, QString* error)
{
    types->clear();
    *hasList = false;
    const qsizetype open = message.indexOf('(');
    if (open < 0) {
        if (message.contains(')')) {
            *error = QStringLiteral("unbalanced parentheses in message %1").arg(quoted(message));
            return false;
        }
        return true;
    }
    if (open == 0 || !message.endsWith(')') || message.indexOf(')') != message.size() - 1
        || message.indexOf('(', open + 1) >= 0) {
        *error = QStringLiteral("message is not name(type,...): %1").arg(quoted(message));
        return false;
    }
    *hasList = true;
    const QByteArray inner = message.mid(open + 1, message.size() - open - 2);
    if (inner.trimmed().isEmpty())
        return true;
    for (const QByteArray& part : inner.split(',')) {
        const QByteArray type = bareType(part);
        if (type.isEmpty()) {
            *error = QStringLiteral("empty parameter type in message %1").arg(quoted(message));
            types->clear();
            return false;
        }
        types->append(type);
    }
    return true;
}

bool encodeQcopArgs(const QByteArray& message, const QList<QByteArray>& args, QByteArray* data, QString* error)
{
    QList<QByteArray> types;
    bool hasList = false;
    if (!parseQcopParameters(message, &types, &hasList, error))
        return false;

    if (!hasList) {
        // Without a parameter list the types are not known: only forms that
        // cannot be read two ways are sent.
        if (args.isEmpty()) {
            data->clear();
            return true;
        }
        QUuid uuid;
        if (args.size() == 1 && parseUuid(args.constFirst(), true, &uuid)) {
            QByteArray bytes;
            QDataStream out(&bytes, QIODevice::WriteOnly);
            out << uuid;
            *data = bytes;
            return true;
        }
        *error = QStringLiteral("message %1 has no parameter list; its arguments are ambiguous "
                                "(only none or one {UUID} can be sent)")
                     .arg(quoted(message));
        return false;
    }

    if (types.size() != args.size()) {
        *error = QStringLiteral("message %1 takes %2 argument(s), %3 given")
                     .arg(quoted(message))
                     .arg(types.size())
                     .arg(args.size());
        return false;
    }
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    for (qsizetype i = 0; i < types.size(); ++i) {
        if (!encodeOne(out, types.at(i), args.at(i), error))
            return false;
    }
    *data = bytes;
    return true;
}
