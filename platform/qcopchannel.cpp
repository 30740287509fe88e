#include "platform/qcopchannel.h"

#include "platform/logline.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QHash>

namespace {

const QString kPath = QStringLiteral("/qcop");
const QString kInterface = QStringLiteral("org.qcop.Channel");
const QString kMember = QStringLiteral("message");
const QString kSignature = QStringLiteral("ssay");

const QString kDaemon = QStringLiteral("org.freedesktop.DBus");
const QString kDaemonPath = QStringLiteral("/org/freedesktop/DBus");

// A daemon that answers nothing must not freeze the phone's single thread.
const int kCallTimeoutMs = 10000;

// D-Bus bus names are at most 255 characters long.
const int kMaxBusNameLength = 255;

// RequestName replies that leave us owning or queued for the name.
const uint kPrimaryOwner = 1;
const uint kInQueue = 2;
const uint kAlreadyOwner = 4;

// How many QCopChannel objects of this process hold each channel's bus name:
// the connection owns the name once, so it is released with the last one.
QHash<QByteArray, int>& holders()
{
    static QHash<QByteArray, int> counts;
    return counts;
}

// Channel and message names travel as D-Bus strings holding their Latin-1
// characters.
QString wireText(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes);
}

// A name as a log line shows it: control bytes become '?', so that a bad
// name cannot break the one-line-per-entry log.
QString printable(const QByteArray& bytes)
{
    QString text = QString::fromLatin1(bytes);
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char('?');
    }
    return text;
}

// Whether there is a session bus to talk to; the log line for the operation
// when there is none.
bool connected(const QDBusConnection& bus, const QString& operation)
{
    if (bus.isConnected())
        return true;
    logLine(operation + QStringLiteral(": no session bus"));
    return false;
}

// D-Bus strings are text without NUL characters; a channel or message that
// holds a NUL byte cannot be carried faithfully.
bool carriable(const QByteArray& bytes)
{
    return !bytes.contains('\0');
}

// Why a channel cannot stand on the bus, or empty when it can.
QString channelFault(const QByteArray& channel)
{
    if (channel.isEmpty())
        return QStringLiteral("empty channel name");
    if (!carriable(channel))
        return QStringLiteral("channel name holds a NUL byte");
    if (QCopChannel::busName(channel).size() > kMaxBusNameLength)
        return QStringLiteral("channel name too long");
    return QString();
}

// Qt writes an argument match into the match rule unquoted and in Latin-1:
// an apostrophe would end the value early, and a byte above 0x7f is not the
// UTF-8 that libdbus insists on (it aborts the process). Such channels are
// filtered here instead of by the daemon.
bool matchableOnBus(const QByteArray& channel)
{
    for (const char c : channel) {
        if (c < 0x20 || c > 0x7e || c == '\'')
            return false;
    }
    return true;
}

QDBusMessage callDaemon(const QDBusConnection& bus, const QString& method, const QVariantList& args)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kDaemon, kDaemonPath, kDaemon, method);
    call.setArguments(args);
    // Block, not BlockWithGui: a message must not be delivered from inside
    // send() or isRegistered().
    return bus.call(call, QDBus::Block, kCallTimeoutMs);
}

QString errorText(const QDBusMessage& reply)
{
    return reply.errorName() + QStringLiteral(" ") + reply.errorMessage();
}

}

class QCopChannel::Private : public QObject
{
    Q_OBJECT
public:
    Private(QCopChannel* owner, const QByteArray& channelName)
        : q(owner)
        , channel(channelName)
    {
    }

    bool listen(const QDBusConnection& bus);
    void stopListening();
    bool acquireName(const QDBusConnection& bus);
    void releaseName();

public slots:
    void busMessage(const QString& channelText, const QString& message, const QByteArray& data);

public:
    QCopChannel* q;
    const QByteArray channel;
    // The bus's arg0 filter, when the channel can be written into a match
    // rule (see matchableOnBus); empty: every qcop message, kept apart in
    // busMessage.
    QStringList argumentMatch;
    bool listening = false;
    bool holdsName = false;
    // A receiver may delete the channel from its slot; this object then
    // goes only after the delivery has returned.
    bool delivering = false;
};

bool QCopChannel::Private::listen(const QDBusConnection& bus)
{
    if (matchableOnBus(channel))
        argumentMatch = QStringList{wireText(channel)};
    QDBusConnection connection = bus;
    listening = connection.connect(QString(), kPath, kInterface, kMember, argumentMatch, kSignature, this,
                                   SLOT(busMessage(QString, QString, QByteArray)));
    if (!listening)
        logLine(QStringLiteral("QCopChannel: cannot listen on ") + printable(channel) + QStringLiteral(": ")
                + connection.lastError().message());
    return listening;
}

void QCopChannel::Private::stopListening()
{
    if (!listening)
        return;
    listening = false;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected())
        bus.disconnect(QString(), kPath, kInterface, kMember, argumentMatch, kSignature, this,
                       SLOT(busMessage(QString, QString, QByteArray)));
}

bool QCopChannel::Private::acquireName(const QDBusConnection& bus)
{
    int& count = holders()[channel];
    if (count > 0) {
        ++count;
        holdsName = true;
        return true;
    }
    // Flags 0: wait in the queue behind other owners, never take the name
    // from them.
    const QDBusMessage reply =
        callDaemon(bus, QStringLiteral("RequestName"), {QCopChannel::busName(channel), 0u});
    const uint result = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
                            ? reply.arguments().constFirst().toUInt()
                            : 0u;
    if (result != kPrimaryOwner && result != kInQueue && result != kAlreadyOwner) {
        holders().remove(channel);
        logLine(QStringLiteral("QCopChannel: cannot register ") + printable(channel) + QStringLiteral(": ")
                + (reply.type() == QDBusMessage::ErrorMessage ? errorText(reply)
                                                              : QStringLiteral("refused")));
        return false;
    }
    count = 1;
    holdsName = true;
    return true;
}

void QCopChannel::Private::releaseName()
{
    if (!holdsName)
        return;
    holdsName = false;
    auto it = holders().find(channel);
    if (it == holders().end() || --it.value() > 0)
        return;
    holders().erase(it);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;  // the daemon dropped the name with the connection
    const QDBusMessage reply = callDaemon(bus, QStringLiteral("ReleaseName"), {QCopChannel::busName(channel)});
    if (reply.type() == QDBusMessage::ErrorMessage)
        logLine(QStringLiteral("QCopChannel: cannot release ") + printable(channel) + QStringLiteral(": ")
                + errorText(reply));
}

void QCopChannel::Private::busMessage(const QString& channelText, const QString& message, const QByteArray& data)
{
    // The bus filters by channel already; this keeps channels apart where
    // it could not (see argumentMatch).
    if (!q || channelText.toLatin1() != channel)
        return;
    delivering = true;
    emit q->received(message.toLatin1(), data);
    delivering = false;
}

QCopChannel::QCopChannel(const QByteArray& channel, QObject* parent, const char* name)
    : QObject(parent)
    , d(new Private(this, channel))
{
    if (name)
        setObjectName(QString::fromLatin1(name));
    const QString fault = channelFault(channel);
    if (!fault.isEmpty()) {
        logLine(QStringLiteral("QCopChannel: ") + fault + QStringLiteral(", not registered: ") + printable(channel));
        return;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        logLine(QStringLiteral("QCopChannel: no session bus, not registered: ") + printable(channel));
        return;
    }
    // Listen first: once another process sees the name, messages it sends
    // on the channel reach this object.
    if (!d->listen(bus))
        return;
    if (!d->acquireName(bus))
        d->stopListening();
}

QCopChannel::~QCopChannel()
{
    d->stopListening();
    d->releaseName();
    if (d->delivering) {
        d->q = nullptr;
        d->deleteLater();
    } else {
        delete d;
    }
}

QByteArray QCopChannel::channel() const
{
    return d->channel;
}

bool QCopChannel::isListening() const
{
    return d->listening && d->holdsName;
}

bool QCopChannel::ownsName() const
{
    if (!isListening())
        return false;
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    const QDBusMessage reply = callDaemon(bus, QStringLiteral("GetNameOwner"), {busName(d->channel)});
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
           && reply.arguments().constFirst().toString() == bus.baseService();
}

bool QCopChannel::isRegistered(const QByteArray& channel)
{
    const QString fault = channelFault(channel);
    if (!fault.isEmpty()) {
        logLine(QStringLiteral("QCopChannel::isRegistered: ") + fault + QStringLiteral(": ") + printable(channel));
        return false;
    }
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!connected(bus, QStringLiteral("QCopChannel::isRegistered: ") + printable(channel)))
        return false;
    const QDBusMessage reply = callDaemon(bus, QStringLiteral("NameHasOwner"), {busName(channel)});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        logLine(QStringLiteral("QCopChannel::isRegistered: ") + printable(channel) + QStringLiteral(": ")
                + errorText(reply));
        return false;
    }
    return reply.arguments().constFirst().toBool();
}

bool QCopChannel::send(const QByteArray& channel, const QByteArray& message)
{
    return send(channel, message, QByteArray());
}

bool QCopChannel::send(const QByteArray& channel, const QByteArray& message, const QByteArray& data)
{
    const QString what = printable(channel) + QStringLiteral(" ") + printable(message);
    if (channel.isEmpty() || !carriable(channel) || !carriable(message)) {
        logLine(QStringLiteral("QCopChannel::send: bad channel or message, dropped: ") + what);
        return false;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!connected(bus, QStringLiteral("QCopChannel::send: dropped ") + what))
        return false;
    QDBusMessage signal = QDBusMessage::createSignal(kPath, kInterface, kMember);
    signal << wireText(channel) << wireText(message) << data;
    if (!bus.send(signal)) {
        logLine(QStringLiteral("QCopChannel::send: dropped ") + what + QStringLiteral(": ")
                + bus.lastError().message());
        return false;
    }
    // Messages of one connection reach the daemon in order: once it has
    // answered this call it holds the signal, and the sender may exit.
    const QDBusMessage reply = callDaemon(bus, QStringLiteral("GetId"), {});
    if (reply.type() != QDBusMessage::ReplyMessage) {
        logLine(QStringLiteral("QCopChannel::send: not confirmed ") + what + QStringLiteral(": ") + errorText(reply));
        return false;
    }
    return true;
}

QString QCopChannel::busName(const QByteArray& channel)
{
    return QStringLiteral("org.qcop.c") + QString::fromLatin1(channel.toHex());
}

#include "qcopchannel.moc"
