#pragma once
// Time Protocol client (RFC 868): the server sends, unasked, a 32-bit big-endian
// count of seconds since 1900-01-01 00:00 UTC and closes the connection.

#include "Psock.h"

class TNMTime : public TPowersock
{
    Q_OBJECT

public:
    static constexpr quint16 TimePort = 37;

    explicit TNMTime(QObject *owner = nullptr);

    // One whole query: connect, read the four bytes, close. Throws ESockError on
    // every failure, including an answer shorter than four bytes.
    quint32 TimeInt();
};
