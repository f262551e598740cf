#pragma once

#include "base/core/partnerrecord.h"

#include <QString>

namespace protocol {

// One datagram as its handler gets it: the text, decoded from CP932, and who it came from (the
// address, and whether it opened with the pair key).
struct Arrival {
    QString text;
    core::Peer sender;
};

} // namespace protocol
