#include "ScriptedTimeServer.h"

#include "LoopbackAddress.h"

#include <QtEndian>
#include <algorithm>
#include <arpa/inet.h>
#include <array>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int ListenBacklog = 16;
constexpr int MaxAnswerBytes = 8;

void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

} // namespace

ScriptedTimeServer::ScriptedTimeServer(const char *address)
{
    addrinfo hints{};
    hints.ai_flags = AI_NUMERICHOST | AI_PASSIVE;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (::getaddrinfo(address, "0", &hints, &found) != 0)
        return;

    int fd = ::socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    if (fd >= 0 && found->ai_family == AF_INET6)
        ::setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on);
    if (fd >= 0 &&
        (::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
         ::bind(fd, found->ai_addr, found->ai_addrlen) != 0 || ::listen(fd, ListenBacklog) != 0))
        closeFd(fd);
    ::freeaddrinfo(found);

    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    if (fd < 0 || ::getsockname(fd, reinterpret_cast<sockaddr *>(&bound), &length) != 0 ||
        ::pipe2(m_wakeFds, O_CLOEXEC) != 0) {
        closeFd(fd);
        return;
    }
    m_port =
        ntohs(bound.ss_family == AF_INET6 ? reinterpret_cast<const sockaddr_in6 &>(bound).sin6_port
                                          : reinterpret_cast<const sockaddr_in &>(bound).sin_port);
    m_listenFd = fd;
    m_thread = std::thread(&ScriptedTimeServer::run, this);
}

ScriptedTimeServer::~ScriptedTimeServer()
{
    if (m_thread.joinable()) {
        const char stop = 0;
        // Every wait in the thread also polls this pipe, so join returns promptly.
        [[maybe_unused]] const auto written = ::write(m_wakeFds[1], &stop, 1);
        m_thread.join();
    }
    closeFd(m_listenFd);
    closeFd(m_wakeFds[0]);
    closeFd(m_wakeFds[1]);
}

void ScriptedTimeServer::setScript(const Script &script)
{
    const std::lock_guard lock(m_mutex);
    m_script = script;
}

ScriptedTimeServer::Script ScriptedTimeServer::script() const
{
    const std::lock_guard lock(m_mutex);
    return m_script;
}

quint32 ScriptedTimeServer::nowServerSeconds() noexcept
{
    return static_cast<quint32>(std::time(nullptr)) + SecondsFrom1900To1970;
}

quint16 ScriptedTimeServer::unusedPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = LoopbackAddress(0);
    socklen_t length = sizeof address;
    quint16 port = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    if (fd >= 0)
        ::close(fd);
    return port;
}

void ScriptedTimeServer::run()
{
    for (;;) {
        std::array<pollfd, 2> fds{{{m_listenFd, POLLIN, 0}, {m_wakeFds[0], POLLIN, 0}}};
        if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR)
            return;
        if (fds[1].revents != 0)
            return;
        if ((fds[0].revents & POLLIN) == 0)
            continue;
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        ++m_connections;
        serve(fd, script());
    }
}

void ScriptedTimeServer::serve(int fd, const Script &script)
{
    const int on = 1;
    // Single bytes must leave at once, not wait for the previous one's ACK.
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);

    const quint32 value = script.value.value_or(nowServerSeconds());
    std::array<unsigned char, MaxAnswerBytes> answer{};
    qToBigEndian(value, answer.data());
    qToBigEndian(~value, answer.data() + sizeof value);
    const int count = std::clamp(script.bytes, 0, MaxAnswerBytes);

    bool running = true;
    if (script.pauseMs <= 0) {
        ::send(fd, answer.data(), count, MSG_NOSIGNAL);
    } else {
        for (int i = 0; i < count && running; ++i) {
            if (i > 0)
                running = pause(script.pauseMs);
            if (running)
                ::send(fd, answer.data() + i, 1, MSG_NOSIGNAL);
        }
    }

    if (running && script.ending == Ending::StayOpen)
        waitForClientClose(fd);
    if (script.ending == Ending::Reset) {
        const linger abortive{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    }
    ::close(fd);
}

bool ScriptedTimeServer::pause(int ms) const
{
    pollfd wake{m_wakeFds[0], POLLIN, 0};
    return ::poll(&wake, 1, ms) == 0;
}

void ScriptedTimeServer::waitForClientClose(int fd) const
{
    for (;;) {
        std::array<pollfd, 2> fds{{{fd, POLLIN, 0}, {m_wakeFds[0], POLLIN, 0}}};
        if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR)
            return;
        if (fds[1].revents != 0)
            return;
        if (fds[0].revents == 0)
            continue;
        char sink[64];
        if (::recv(fd, sink, sizeof sink, 0) <= 0)
            return;
    }
}
