#include "base/protocol/send.h"

#include "base/text/cp932.h"

namespace protocol {

int Outbox::send(const QString &destination, const QString &text)
{
    return m_transport.send(destination, m_port, text::toCp932(text));
}

} // namespace protocol
