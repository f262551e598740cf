#pragma once

#include "common.h"

#include <vector>

namespace bench {

// One burst of ordinary messages at a set rate to a copy, and what came back.
struct Burst {
    int offeredPerSecond = 0;
    int sent = 0;
    double sentPerSecond = 0; // what the sender managed
    int acknowledged = 0;
    double ackedPerSecond = 0; // acknowledgements over the time from first send to last answer
    double copyCpuUs = 0;      // processor time the copy spent per answered message
    bool clean() const;        // every message answered, and the answers kept pace
};

struct Throughput {
    std::vector<Burst> bursts;
    int bestPerSecond = 0; // the highest offered rate of a clean burst
    QString error;
};

// Bursts of `burstMs` at rising rates from a bare socket on 127.0.0.2:57979 to a copy on 127.0.0.3,
// counting the "送信" answers; ends at the first rate of which three tries in a row are unclean, or
// after the last rate.
Throughput measureThroughput(const Programs &programs, const std::vector<int> &rates, int burstMs);

} // namespace bench
