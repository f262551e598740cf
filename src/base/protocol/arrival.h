#pragma once

#include <QString>

namespace protocol {

// One datagram as its handler gets it: the text, decoded from CP932, and the address it came from.
struct Arrival {
    QString text;
    QString sender;
};

} // namespace protocol
