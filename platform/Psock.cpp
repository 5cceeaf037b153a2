#include "Psock.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QHostInfo>
#include <QNetworkProxy>
#include <QScopeGuard>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

namespace {

constexpr qsizetype DottedQuadParts = 4;
constexpr qsizetype MaxOctetDigits = 3;
constexpr int MaxOctet = 255;
constexpr qsizetype MaxPortDigits = 5;
constexpr int MaxPort = 65535;

// Where one query goes: a literal address, or a name still to be looked up.
struct TTarget
{
    QString Name; // empty when Address is a literal
    QHostAddress Address;
    quint16 Port = 0;
};

bool IsAsciiDigits(QStringView text, qsizetype maxDigits)
{
    return !text.isEmpty() && text.size() <= maxDigits &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Only the plain a.b.c.d form skips the lookup; shorthand like "127.1" is a name.
bool IsDottedQuad(const QString &text)
{
    const QStringList parts = text.split(u'.');
    return parts.size() == DottedQuadParts &&
           std::all_of(parts.begin(), parts.end(), [](const QString &part) {
               return IsAsciiDigits(part, MaxOctetDigits) && part.toInt() <= MaxOctet;
           });
}

// Each part as the decimal number it reads as: the system's parser would take "010" as
// octal 8 and send the query to another host than the one the user typed.
QHostAddress DottedQuadAddress(const QString &text)
{
    quint32 address = 0;
    for (const QString &part : text.split(u'.'))
        address = (address << 8) | part.toUInt();
    return QHostAddress(address);
}

bool IsWildcard(const QHostAddress &address)
{
    return address == QHostAddress::AnyIPv4 || address == QHostAddress::AnyIPv6;
}

quint16 ParsePort(const QString &host, QStringView text)
{
    const int port = IsAsciiDigits(text, MaxPortDigits) ? text.toInt() : 0;
    if (port < 1 || port > MaxPort)
        throw ESockError(TPowersock::tr("Invalid port in host \"%1\"").arg(host));
    return static_cast<quint16>(port);
}

// Host text is taken character for character: "a.b.c.d", an IPv6 literal,
// "name", "name:port", "a.b.c.d:port", "[v6]" or "[v6]:port".
TTarget ParseHost(const QString &host, quint16 defaultPort)
{
    if (host.isEmpty())
        throw ESockError(TPowersock::tr("No time server given"));

    TTarget target;
    target.Port = defaultPort;
    QString name = host;
    if (host.startsWith(u'[')) {
        const qsizetype close = host.indexOf(u']');
        const QStringView rest = close < 0 ? QStringView() : QStringView(host).mid(close + 1);
        if (close < 0 || !target.Address.setAddress(host.mid(1, close - 1)) ||
            target.Address.protocol() != QAbstractSocket::IPv6Protocol ||
            (!rest.isEmpty() && !rest.startsWith(u':')))
            throw ESockError(TPowersock::tr("Invalid address \"%1\"").arg(host));
        if (!rest.isEmpty())
            target.Port = ParsePort(host, rest.mid(1));
    } else if (host.count(u':') > 1) {
        // A bare IPv6 literal carries no port; if it does not parse, the lookup fails it.
        QHostAddress address;
        if (address.setAddress(host) && address.protocol() == QAbstractSocket::IPv6Protocol)
            target.Address = address;
        else
            target.Name = host;
    } else {
        const qsizetype colon = host.indexOf(u':');
        if (colon >= 0) {
            target.Port = ParsePort(host, QStringView(host).mid(colon + 1));
            name = host.left(colon);
            if (name.isEmpty())
                throw ESockError(TPowersock::tr("No time server given in \"%1\"").arg(host));
        }
        if (IsDottedQuad(name))
            target.Address = DottedQuadAddress(name);
        else
            target.Name = name;
    }
    if (target.Name.isEmpty() && IsWildcard(target.Address))
        throw ESockError(TPowersock::tr("\"%1\" is not a server address").arg(host));
    return target;
}

} // namespace

TPowersock::TPowersock(QObject *owner)
    : QObject(owner), FSocket(new QTcpSocket(this)), FTimer(new QTimer(this))
{
    // A time query talks to the server itself, never through a web proxy.
    FSocket->setProxy(QNetworkProxy::NoProxy);
    FTimer->setSingleShot(true);
    FTimer->setTimerType(Qt::PreciseTimer);

    connect(FTimer, &QTimer::timeout, this, &TPowersock::LoopTimedOut);
    connect(FSocket, &QAbstractSocket::stateChanged, this, &TPowersock::Wake);
    connect(FSocket, &QIODevice::readyRead, this, &TPowersock::Wake);
    connect(FSocket, &QAbstractSocket::errorOccurred, this, [this] {
        FSocketFailed = true;
        Wake();
    });
}

TPowersock::~TPowersock()
{
    if (FLookupId >= 0)
        QHostInfo::abortHostLookup(FLookupId);
}

void TPowersock::Disconnect()
{
    if (FBusy)
        return;
    FSocket->abort();
    FAnnounced = false;
    emit OnDisconnect(this);
}

TPowersock::TQueryScope::TQueryScope(TPowersock &sock) : FSock(sock)
{
    if (FSock.FBusy)
        throw ESockError(tr("A query to %1 is still running").arg(FSock.Host));
    FSock.FBusy = true;
}

TPowersock::TQueryScope::~TQueryScope()
{
    FSock.FBusy = false;
}

void TPowersock::Open()
{
    const TTarget target = ParseHost(Host, Port);
    if (target.Name.isEmpty())
        ConnectTo({target.Address}, target.Port, target.Address.toString());
    else
        ConnectTo(Resolve(target.Name), target.Port, target.Name);
}

QByteArray TPowersock::ReadExactly(qsizetype count)
{
    const QDeadlineTimer deadline(std::max(TimeOut, 0));
    const QString what = tr("Reading from %1").arg(Host);
    WaitUntil(
        [this, count] {
            return FSocket->bytesAvailable() >= count ||
                   FSocket->state() != QAbstractSocket::ConnectedState;
        },
        deadline, what);
    const qint64 got = FSocket->bytesAvailable();
    if (got < count)
        throw ESockError(
            tr("%1 closed the connection after %2 of %3 bytes").arg(Host).arg(got).arg(count));
    return FSocket->read(count);
}

void TPowersock::Close()
{
    FSocket->abort();
    if (FAnnounced) {
        FAnnounced = false;
        emit OnDisconnect(this);
    }
}

QList<QHostAddress> TPowersock::Resolve(const QString &name)
{
    FLookedUp = false;
    FLookupResult.clear();
    FLookupError.clear();
    FLookupId = QHostInfo::lookupHost(name, this, &TPowersock::LookedUp);
    try {
        WaitUntil([this] { return FLookedUp; }, QDeadlineTimer(std::max(TimeOut, 0)),
                  tr("Looking up %1").arg(name));
    } catch (...) {
        // The lookup thread cannot be stopped, but its answer is dropped.
        QHostInfo::abortHostLookup(FLookupId);
        FLookupId = -1;
        throw;
    }
    FLookupId = -1;
    if (!FLookupError.isEmpty())
        throw ESockError(tr("Cannot look up %1: %2").arg(name, FLookupError));

    QList<QHostAddress> addresses = FLookupResult;
    addresses.removeIf(IsWildcard);
    if (addresses.isEmpty())
        throw ESockError(tr("%1 has no usable address").arg(name));
    return addresses;
}

void TPowersock::LookedUp(const QHostInfo &info)
{
    if (info.lookupId() != FLookupId)
        return; // a lookup abandoned after its time-out
    FLookedUp = true;
    if (info.error() != QHostInfo::NoError)
        FLookupError = info.errorString();
    else
        FLookupResult = info.addresses();
    Wake();
}

void TPowersock::ConnectTo(const QList<QHostAddress> &addresses, quint16 port,
                           const QString &server)
{
    // One bound for all addresses together, so a long list cannot stretch the wait.
    const QDeadlineTimer deadline(std::max(TimeOut, 0));
    QString lastError;
    for (const QHostAddress &address : addresses) {
        FSocket->abort();
        FSocketFailed = false;
        FSocket->connectToHost(address, port);
        WaitUntil(
            [this] {
                const auto state = FSocket->state();
                return FSocketFailed || state == QAbstractSocket::ConnectedState ||
                       state == QAbstractSocket::UnconnectedState;
            },
            deadline, tr("Connecting to %1 port %2").arg(address.toString()).arg(port));
        if (FSocket->state() == QAbstractSocket::ConnectedState) {
            FAnnounced = true;
            emit OnConnect(this);
            return;
        }
        lastError = FSocket->errorString();
    }
    throw ESockError(tr("Cannot connect to %1 port %2: %3").arg(server).arg(port).arg(lastError));
}

void TPowersock::WaitUntil(const std::function<bool()> &done, const QDeadlineTimer &deadline,
                           const QString &what)
{
    while (!done()) {
        const qint64 left = deadline.remainingTime();
        const TWakeReason reason = left > 0 ? EnterLoop(left) : TWakeReason::TimedOut;
        if (reason == TWakeReason::Interrupted)
            throw ESockError(tr("%1 was interrupted").arg(what));
        if (reason == TWakeReason::TimedOut && !done())
            throw ESockError(tr("%1 timed out after %2 ms").arg(what).arg(TimeOut));
    }
}

TPowersock::TWakeReason TPowersock::EnterLoop(qint64 ms)
{
    if (FLoop)
        throw ESockError(tr("The connection to %1 is already waiting").arg(Host));

    QEventLoop loop;
    FLoop = &loop;
    FWoken = false;
    FTimedOut = false;
    const auto reset = qScopeGuard([this] {
        FTimer->stop();
        FLoop = nullptr;
    });
    FTimer->start(static_cast<int>(ms));
    loop.exec();

    if (FTimedOut)
        return TWakeReason::TimedOut;
    // exec() also returns, at once, when the application is quitting.
    return FWoken ? TWakeReason::Woken : TWakeReason::Interrupted;
}

void TPowersock::Wake()
{
    if (!FLoop)
        return;
    FWoken = true;
    FLoop->quit();
}

void TPowersock::LoopTimedOut()
{
    if (!FLoop)
        return;
    FTimedOut = true;
    FLoop->quit();
}
