#pragma once

#include "common.h"

#include <vector>

namespace bench {

// The acknowledgement round trip between two copies in two processes (127.0.0.2 sends, 127.0.0.3
// answers "送信"), against a bare UDP echo of a datagram of the same size on the same path
// (127.0.0.5 to an echo on 127.0.0.4), and the same conversation between two copies paired with
// one code, every datagram sealed (127.0.0.6 sends, 127.0.0.7 answers). The three are measured in
// alternating blocks, so that a machine that is slower for a while slows them alike.
struct RoundTrip {
    QString placement;     // where the two sides ran
    bool separate = false; // each side on a processor of its own, as on two machines
    std::vector<double> copyUs;
    std::vector<double> echoUs;
    std::vector<double> sealedUs;
    double sendUs = 0; // mean time the sending copy spends in its send button
    double sealedSendUs = 0;
    int copyLost = 0;
    int echoLost = 0;
    int sealedLost = 0;
    int datagramBytes = 0;
    QString error;
};

// The sending side runs on processor 0, the answering side on `answerer` (0 too: one processor
// for both).
RoundTrip measureRoundTrip(const Programs &programs, int messages, int warmUp, int answerer);

} // namespace bench
