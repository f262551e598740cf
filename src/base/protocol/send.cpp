#include "base/protocol/send.h"

#include "base/protocol/seal.h"
#include "base/protocol/wire.h"
#include "base/text/cp932.h"

namespace protocol {

int Outbox::send(const core::Peer &to, const QString &text)
{
    if (!to.sealed)
        return m_transport.send(to.address, m_port, text::toCp932(text));
    // What is meant for the partner never goes plain: without the key it does not go at all.
    const QByteArray sealed = m_sealer != nullptr ? m_sealer->seal(text::toCp932(text)) : QByteArray();
    if (sealed.isEmpty())
        return -1;
    return m_transport.send(to.address, m_port, sealed);
}

qsizetype Outbox::room(const core::Peer &to)
{
    return kMaxDatagramBytes - (to.sealed ? kSealOverhead : 0);
}

} // namespace protocol
