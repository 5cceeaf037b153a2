#pragma once
// xinetd's own RFC 868 time service on a loopback port, run in the foreground
// as the current user for the lifetime of this object.

#include <QString>
#include <QTemporaryDir>
#include <memory>

class QProcess;

class XinetdTimeService
{
public:
    XinetdTimeService();
    ~XinetdTimeService();
    XinetdTimeService(const XinetdTimeService &) = delete;
    XinetdTimeService &operator=(const XinetdTimeService &) = delete;

    // Empty when xinetd is not installed.
    static QString executable();

    // Starts xinetd and waits until the port accepts; false with errorString() set.
    bool start();
    quint16 port() const noexcept { return m_port; }
    QString errorString() const { return m_error; }

private:
    QString log() const;

    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_process;
    quint16 m_port = 0;
    QString m_error;
};
