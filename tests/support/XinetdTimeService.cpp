#include "XinetdTimeService.h"

#include "LoopbackAddress.h"
#include "ScriptedTimeServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int StartTimeOutMs = 3000;
constexpr int StopTimeOutMs = 2000;
constexpr int ProbeIntervalMs = 20;

bool accepts(quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const sockaddr_in address = LoopbackAddress(port);
    const bool ok =
        ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

QString currentUserName()
{
    const passwd *entry = ::getpwuid(::geteuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QStringLiteral("root");
}

} // namespace

XinetdTimeService::XinetdTimeService() = default;

XinetdTimeService::~XinetdTimeService()
{
    if (!m_process || m_process->state() == QProcess::NotRunning)
        return;
    m_process->terminate();
    if (!m_process->waitForFinished(StopTimeOutMs)) {
        m_process->kill();
        m_process->waitForFinished(StopTimeOutMs);
    }
}

QString XinetdTimeService::executable()
{
    QString path = QStandardPaths::findExecutable(QStringLiteral("xinetd"));
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(
            QStringLiteral("xinetd"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    return path;
}

bool XinetdTimeService::start()
{
    const QString program = executable();
    if (program.isEmpty() || !m_dir.isValid()) {
        m_error = program.isEmpty() ? QStringLiteral("xinetd is not installed")
                                    : QStringLiteral("no temporary directory");
        return false;
    }

    m_port = ScriptedTimeServer::unusedPort();
    const QString confPath = m_dir.filePath(QStringLiteral("xinetd.conf"));
    QFile conf(confPath);
    if (!conf.open(QIODevice::WriteOnly | QIODevice::Text)) {
        m_error = conf.errorString();
        return false;
    }
    conf.write(QStringLiteral("service time\n"
                              "{\n"
                              "    type        = INTERNAL UNLISTED\n"
                              "    id          = time-stream\n"
                              "    socket_type = stream\n"
                              "    protocol    = tcp\n"
                              "    wait        = no\n"
                              "    user        = %1\n"
                              "    port        = %2\n"
                              "    bind        = 127.0.0.1\n"
                              "}\n")
                   .arg(currentUserName())
                   .arg(m_port)
                   .toLocal8Bit());
    conf.close();

    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->start(program, {QStringLiteral("-dontfork"), QStringLiteral("-f"), confPath,
                               QStringLiteral("-filelog"), m_dir.filePath(QStringLiteral("log"))});
    if (!m_process->waitForStarted(StartTimeOutMs)) {
        m_error = m_process->errorString();
        return false;
    }

    const QDeadlineTimer deadline(StartTimeOutMs);
    while (!accepts(m_port)) {
        if (m_process->state() == QProcess::NotRunning || deadline.hasExpired()) {
            m_error = QStringLiteral("xinetd does not serve port %1: %2").arg(m_port).arg(log());
            return false;
        }
        QThread::msleep(ProbeIntervalMs);
    }
    return true;
}

QString XinetdTimeService::log() const
{
    QFile file(m_dir.filePath(QStringLiteral("log")));
    QString text =
        file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
    if (m_process)
        text += QString::fromLocal8Bit(m_process->readAll());
    return text.trimmed();
}
