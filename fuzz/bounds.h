#pragma once

#include <QtGlobal>

// How far what a running pair of copies holds may grow, whatever arrives and whatever its users
// do. The session fuzzer checks these after every step; a breach is a fault like a crash.
namespace fuzzcheck::bounds {

// The longest datagram: every character takes at least one byte, so it is also the most
// characters one datagram can bring.
constexpr qsizetype kDatagram = 65507;

// The received text held while messages append to a waiting one: about 1 MiB, plus the datagram
// that passed that, plus the mark that says where older text was cut.
constexpr qsizetype kHeldText = (qsizetype{1} << 20) + kDatagram + 1024;
// Answers one user search lists: more than a LAN has copies to answer.
constexpr qsizetype kSearchRows = 1024;
// Arrivals waiting while a handler holds the dispatch (a box it shows lets more in).
constexpr qsizetype kWaitingArrivals = 1024;

// A history row holds the text of one received message, or a run of sent ones: no more than the
// held text.
constexpr qsizetype kHistoryRow = kHeldText;
// One journal entry: a header line and a row's text, two bytes a character at most.
constexpr qsizetype kJournalEntry = 2 * kHistoryRow + 256;
// What arrivals alone, with no one at the keyboard, may add to a journal in one session: the
// acknowledgements of what was sent, each entry a run of sent texts.
constexpr qint64 kJournalFromArrivals = qint64{4} << 20;

// What the fuzzer types into a box at most: a bit more than a datagram holds, so that the
// too-long refusals are reached as well.
constexpr qsizetype kTyped = 2 * kDatagram;
// The letter window's status line: a state word, or the date and time of the delivery.
constexpr qsizetype kLetterStatus = 64;

} // namespace fuzzcheck::bounds
