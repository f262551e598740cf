#pragma once

#include "common.h"

#include <vector>

namespace bench {

// Opening the largest received text a copy keeps: a partner's one-line messages of the largest
// size (latin letters or kanji), joined until the next would pass the limit, opened with the copy's
// windows shown.
struct Opening {
    qsizetype heldChars = 0;       // of the last round
    std::vector<double> openMs;    // the open, until the text was painted, as the copy measured it
    std::vector<double> silenceMs; // the longest time without an answer to presence checks sent
                                   // every few milliseconds meanwhile
    QString error;
};

Opening measureOpening(const Programs &programs, int rounds);

} // namespace bench
