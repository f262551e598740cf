#include "freshsocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace bench {

bool sendOnFreshSocket(const QHostAddress &from, const QHostAddress &to, quint16 port, QByteArrayView bytes)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(from.toIPv4Address());
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(port);
    remote.sin_addr.s_addr = htonl(to.toIPv4Address());
    const bool sent = ::bind(fd, reinterpret_cast<const sockaddr *>(&local), sizeof local) == 0 &&
                      ::sendto(fd, bytes.data(), static_cast<std::size_t>(bytes.size()), MSG_NOSIGNAL,
                               reinterpret_cast<const sockaddr *>(&remote), sizeof remote) == bytes.size();
    ::close(fd);
    return sent;
}

} // namespace bench
