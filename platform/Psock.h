#pragma once
// A TCP client socket whose every wait (name lookup, connect, read) runs a nested
// event loop bounded by a timer, so the window keeps painting and ticking while a
// query is out. Everything happens on the GUI thread. While Busy(), a nested wait
// is on the stack: destroy the component with deleteLater(), never delete.

#include "Exception.h"

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QDeadlineTimer;
class QEventLoop;
class QHostInfo;
class QTcpSocket;
class QTimer;

// Every failure of a socket component: lookup, connect, read, time-out, refusal.
class ESockError : public Exception
{
public:
    using Exception::Exception;
};

class TPowersock : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultTimeOut = 500; // ms

    explicit TPowersock(QObject *owner = nullptr);
    ~TPowersock() override;

    QString Host;
    quint16 Port = 0;
    int TimeOut = DefaultTimeOut; // ms, for each phase afresh: lookup, connect, read
    int ReportLevel = 0;

    // True from the start to the end of a query, waits included.
    bool Busy() const noexcept { return FBusy; }

    // Aborts the connection and emits OnDisconnect, also when none was open.
    // While a query is running this does nothing at all, not even the signal:
    // the caller that was refused must not cut the running query short, and that
    // query emits its own OnDisconnect when it closes.
    void Disconnect();

signals:
    void OnConnect(QObject *Sender);
    void OnDisconnect(QObject *Sender);

protected:
    // Holds the component busy for one query; a second query is refused at once.
    class TQueryScope
    {
    public:
        explicit TQueryScope(TPowersock &sock);
        ~TQueryScope();
        TQueryScope(const TQueryScope &) = delete;
        TQueryScope &operator=(const TQueryScope &) = delete;

    private:
        TPowersock &FSock;
    };

    // Resolves Host (or its own host:port form) and connects, emitting OnConnect.
    void Open();
    // Waits until exactly count bytes have arrived; fewer is a failure.
    QByteArray ReadExactly(qsizetype count);
    // Aborts the connection; emits OnDisconnect if OnConnect was emitted.
    void Close();

private:
    enum class TWakeReason
    {
        Woken,
        TimedOut,
        Interrupted // the loop was ended by someone else, e.g. the application quitting
    };

    QList<QHostAddress> Resolve(const QString &name);
    void ConnectTo(const QList<QHostAddress> &addresses, quint16 port, const QString &server);
    void WaitUntil(const std::function<bool()> &done, const QDeadlineTimer &deadline,
                   const QString &what);
    TWakeReason EnterLoop(qint64 ms);
    void Wake();
    void LoopTimedOut();
    void LookedUp(const QHostInfo &info);

    QTcpSocket *FSocket = nullptr;
    QTimer *FTimer = nullptr;
    QEventLoop *FLoop = nullptr; // the running nested loop, if any
    bool FWoken = false;
    bool FTimedOut = false;
    bool FBusy = false;
    bool FAnnounced = false; // OnConnect was emitted for the open connection
    bool FSocketFailed = false;
    int FLookupId = -1;
    bool FLookedUp = false;
    QList<QHostAddress> FLookupResult;
    QString FLookupError;
};
