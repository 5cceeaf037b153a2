#include "NMTime.h"

#include <QtEndian>

namespace {

constexpr qsizetype AnswerBytes = 4;

} // namespace

TNMTime::TNMTime(QObject *owner) : TPowersock(owner)
{
    Port = TimePort;
}

quint32 TNMTime::TimeInt()
{
    const TQueryScope scope(*this);
    QByteArray answer;
    try {
        Open();
        answer = ReadExactly(AnswerBytes);
    } catch (...) {
        Close();
        throw;
    }
    // Closed on success as well: the server sends one answer per connection.
    Close();
    return qFromBigEndian<quint32>(answer.constData());
}
