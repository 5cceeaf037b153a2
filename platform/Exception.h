#pragma once
// The root of every error the program raises. Handlers never let one unwind
// through Qt: the guarded dispatch catches it and shows the error box.

#include <QByteArray>
#include <QString>
#include <exception>

class Exception : public std::exception
{
public:
    explicit Exception(const QString &message);

    const QString &Message() const noexcept { return FMessage; }
    const char *what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8; // kept so what() stays valid for the error's lifetime
};
