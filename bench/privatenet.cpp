#include "privatenet.h"

#include <QProcess>

#include <cerrno>
#include <cstring>

#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace bench {
namespace {

const QString kTable = u"miltoanne_bench"_s;

bool runNft(const QStringList &arguments, const QByteArray &input, QString &why)
{
    QProcess nft;
    nft.start(u"nft"_s, arguments);
    if (!nft.waitForStarted(5000)) {
        why = u"nft not found (Debian package nftables)"_s;
        return false;
    }
    nft.write(input);
    nft.closeWriteChannel();
    if (!nft.waitForFinished(10000) || nft.exitStatus() != QProcess::NormalExit || nft.exitCode() != 0) {
        why = u"nft failed: "_s + QString::fromLocal8Bit(nft.readAllStandardError()).trimmed();
        return false;
    }
    return true;
}

} // namespace

bool enterPrivateNetwork(QString &why)
{
    if (::unshare(CLONE_NEWNET) != 0) {
        why = u"no network namespace of its own ("_s + QString::fromLocal8Bit(std::strerror(errno)) +
              u"; run as root)"_s;
        return false;
    }
    // A new namespace has its loopback down.
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0) {
        why = u"no socket in the new namespace"_s;
        return false;
    }
    ifreq request{};
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    bool up = ::ioctl(fd, SIOCGIFFLAGS, &request) == 0;
    if (up) {
        request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
        up = ::ioctl(fd, SIOCSIFFLAGS, &request) == 0;
    }
    ::close(fd);
    if (!up)
        why = u"cannot bring the loopback of the new namespace up"_s;
    return up;
}

bool redirectPartnerPort(quint16 listenPort, QString &why)
{
    const QByteArray rules = "table ip " + kTable.toLatin1() +
                             " {\n"
                             " chain out {\n"
                             "  type nat hook output priority -100;\n"
                             "  ip daddr 127.0.0.9 udp dport 57979 dnat to 127.0.0.9:" +
                             QByteArray::number(listenPort) +
                             "\n"
                             " }\n"
                             "}\n";
    return runNft({u"-f"_s, u"-"_s}, rules, why);
}

void removePartnerRedirect()
{
    QString ignored;
    runNft({u"delete"_s, u"table"_s, u"ip"_s, kTable}, {}, ignored);
}

} // namespace bench
