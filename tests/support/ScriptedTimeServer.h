#pragma once
// An RFC 868 time server on a loopback address whose every answer follows a
// script: how many bytes, how fast, and how the connection ends. It runs on its
// own thread with plain POSIX sockets, so it serves a Qt client on the GUI thread,
// a blocking client and rdate alike, one connection after another.

#include <QMetaType>
#include <QtGlobal>
#include <atomic>
#include <mutex>
#include <optional>
#include <thread>

// Seconds from 1900-01-01 (the protocol's epoch) to 1970-01-01 (Unix time).
inline constexpr quint32 SecondsFrom1900To1970 = 2'208'988'800u;

class ScriptedTimeServer
{
public:
    enum class Ending
    {
        Close,    // orderly close (FIN)
        Reset,    // SO_LINGER 0, so the client sees a reset
        StayOpen, // until the client closes or the server is destroyed
    };

    struct Script
    {
        int bytes = 4;   // 0 to 8; past the fourth, the answer's bytes inverted
        int pauseMs = 0; // between single bytes; 0 sends them in one write
        Ending ending = Ending::Close;
        std::optional<quint32> value = std::nullopt; // unset: the current time
    };

    // address is a numeric loopback address, "127.0.0.1" or "::1".
    explicit ScriptedTimeServer(const char *address = "127.0.0.1");
    ~ScriptedTimeServer();
    ScriptedTimeServer(const ScriptedTimeServer &) = delete;
    ScriptedTimeServer &operator=(const ScriptedTimeServer &) = delete;

    // False when the address could not be bound (e.g. no IPv6 loopback).
    bool isListening() const noexcept { return m_listenFd >= 0; }
    quint16 port() const noexcept { return m_port; }
    int connections() const noexcept { return m_connections.load(); }

    void setScript(const Script &script);
    Script script() const;

    // The current time as the protocol counts it.
    static quint32 nowServerSeconds() noexcept;
    // A 127.0.0.1 port nothing listens on (free a moment ago).
    static quint16 unusedPort();

private:
    void run();
    void serve(int fd, const Script &script);
    bool pause(int ms) const; // false once the server is stopping
    void waitForClientClose(int fd) const;

    int m_listenFd = -1;
    int m_wakeFds[2] = {-1, -1}; // written once to stop the thread
    quint16 m_port = 0;
    std::atomic<int> m_connections = 0;
    mutable std::mutex m_mutex;
    Script m_script;
    std::thread m_thread;
};

Q_DECLARE_METATYPE(ScriptedTimeServer::Script)
