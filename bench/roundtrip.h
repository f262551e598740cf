#pragma once

#include "common.h"

#include <vector>

namespace bench {

// The acknowledgement round trip between two copies in two processes (127.0.0.2 sends, 127.0.0.3
// answers "送信"), against a bare UDP echo of a datagram of the same size on the same path.
struct RoundTrip {
    std::vector<double> copyUs;
    std::vector<double> echoUs;
    std::vector<double> freshEchoUs; // the echo with a fresh socket for every datagram, both ways
    double sendUs = 0;               // mean time the sending copy spends in its send button
    int copyLost = 0;
    int echoLost = 0;
    int freshEchoLost = 0;
    int datagramBytes = 0;
    QString error;
};

RoundTrip measureRoundTrip(const Programs &programs, int messages, int warmUp);

} // namespace bench
