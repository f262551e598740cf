#pragma once

#include <QString>

namespace core {

// The partner this copy is registered with, as the partner part keeps it: the one person the
// copy's own messages, calls and start and end notices go to.
struct RegisteredPartner {
    QString name;
    // As a dotted quad (text::dottedQuad), the way senders' addresses arrive; empty: no partner
    // registered.
    QString address;

    // A datagram from `sender` comes from the partner.
    bool isSender(const QString &sender) const { return !address.isEmpty() && sender == address; }
};

} // namespace core
