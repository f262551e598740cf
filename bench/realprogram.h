#pragma once

#include "common.h"

#include <vector>

namespace bench {

// The real executable started from a program directory of its own that registers 127.0.0.9 as
// the partner, offscreen, ended with SIGTERM.
struct StartUp {
    std::vector<double> programMs; // process start to its start notice on the wire
    std::vector<double> bareMs;    // process start to the end of the bare widgets program
    QString error;
};

struct Resources {
    qint64 rssAfterStartKb = -1;
    qint64 rssAfterMessagesKb = -1;
    int messagesSent = 0;
    int messagesAcknowledged = 0;
    int messagesLost = 0; // given up after two seconds without an answer
    double messagesSeconds = 0;
    double idleSeconds = 0;
    double idleCpuMs = -1;   // utime + stime over the idle time
    qint64 idleWakeUps = -1; // context switches of all its threads over the idle time
    // The same, afterwards, while the messages wait unread (nothing blinks unless the options say so).
    double waitingSeconds = 0;
    double waitingCpuMs = -1;
    qint64 waitingWakeUps = -1;
    QString error;
};

// Floods from a stranger's address while a message from the partner waits unread.
struct Floods {
    qint64 rssBeforeKb = -1;
    int largeSent = 0; // messages of the largest size a datagram carries
    qint64 rssAfterLargeKb = -1;
    std::vector<double> answerMs; // presence checks by the partner during the large flood
    int unanswered = 0;           // of those, not answered within a second
    int smallPerRound = 0;        // small datagrams of every kind, in each of two rounds
    qint64 rssAfterSmall1Kb = -1;
    qint64 rssAfterSmall2Kb = -1;
    double endMs = -1; // SIGTERM to the end of the process, sent right behind a flood
    QString error;
};

// Both need the partner's port turned to `listenPort` (see privatenet.h).
StartUp measureStartUp(const Programs &programs, quint16 listenPort, int runs);
Resources measureResources(const Programs &programs, quint16 listenPort, int messages, int idleSeconds,
                           int waitingSeconds);
Floods measureFloods(const Programs &programs, quint16 listenPort, int largeMessages, int smallPerRound);

} // namespace bench
