#pragma once

#include "support/testcopy.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

#include <memory>

// The properties the fuzz targets look for, shared with the regression test that replays what the
// fuzzers found. Each check returns the properties an input broke, in words; an empty list means
// the input is fine. A crash inside a check is a finding of its own.
namespace fuzzcheck {

// CP932 decoding, tag classification and the message fields, for one datagram's bytes.
QStringList checkDatagram(QByteArrayView bytes);

// The options file: parsing never fails outright, and what parses as ours survives a save and a
// second read unchanged.
QStringList checkOptionsFile(const QByteArray &bytes);

// The address file: the same round trip.
QStringList checkAddressFile(const QByteArray &bytes);

// Sealing and opening with one pair key. An input whose first byte is even is a datagram from
// anyone, handed to the opening as it is (and to the pairing code's reader as typed text). An odd
// one is a script: the partner's copy seals plain bytes of the input, and the way between loses,
// repeats, changes, cuts or lengthens what it carries, brings a datagram of another pair, or sends
// this copy's own back to it. Nothing but a new, whole datagram of the partner may open, and it
// opens to what was sealed.
QStringList checkSealed(const QByteArray &input);

// Two whole copies on a fake network: one with no partner, one whose partner is the sender. Every
// arrival goes to both. Needs a QApplication.
class DispatchRig final {
public:
    static inline const QString kSender = QStringLiteral("127.0.0.3");

    DispatchRig();
    ~DispatchRig();

    // Hands `bytes` to both copies' dispatchers as if they came from kSender, then checks that no
    // box came up, both copies still run, and every reply went to the sender or the partner.
    QStringList arrive(const QByteArray &bytes);

private:
    testkit::FakeNetwork m_net;
    std::unique_ptr<testkit::TestCopy> m_alone;
    std::unique_ptr<testkit::TestCopy> m_paired;
};

} // namespace fuzzcheck
