#pragma once
// 127.0.0.1 at a port, as the POSIX socket calls of the test peers and baselines take it.

#include <QtGlobal>
#include <arpa/inet.h>
#include <netinet/in.h>

// port 0 lets bind() pick a free one.
inline sockaddr_in LoopbackAddress(quint16 port) noexcept
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}
