#pragma once

#include <QString>

// The bench runs in a network namespace of its own where the system allows it: its loopback is the
// only interface, so no datagram of the bench can leave the machine, and port 57979 of the machine
// itself (a copy in use, a test run) is neither disturbed nor in the way.
namespace bench {

// Call first thing in main(), while the process has one thread: every thread and process started
// afterwards inherits the namespace. False with the reason where it cannot be had (not root).
bool enterPrivateNetwork(QString &why);

// The real program binds port 57979 on every address without sharing it, so nothing else can
// listen on 127.0.0.9:57979 beside it. A rule of this namespace's own firewall therefore turns
// datagrams for 127.0.0.9:57979 to `listenPort` on the same address, where the bench listens.
bool redirectPartnerPort(quint16 listenPort, QString &why);
void removePartnerRedirect();

} // namespace bench
