#pragma once

#include "session.h"
#include "steptable.h"

#include <QByteArrayView>
#include <QSet>
#include <QString>

#include <array>
#include <memory>

namespace fuzzcheck {

// The port every datagram goes to.
inline constexpr quint16 kWirePort = 57979;

// The files a copy's data folder may hold: the options, the partner, the journal and the lock.
inline const QSet<QString> kDataFiles{QStringLiteral("optFile.dat"), QStringLiteral("adrFile.dat"),
                                      QStringLiteral("logFile.dat"), QStringLiteral("miltoanne.lock")};

// The bytes of a session program, read from the front; past the end every byte reads as 0.
class ProgramReader final {
public:
    explicit ProgramReader(QByteArrayView bytes) : m_bytes(bytes) {}
    bool atEnd() const { return m_at >= m_bytes.size(); }
    uchar byte() { return atEnd() ? 0 : static_cast<uchar>(m_bytes[m_at++]); }
    quint16 word() { return static_cast<quint16>(byte() | (byte() << 8)); }
    QByteArray bytes(qsizetype count);
    // A length byte and that many bytes.
    QByteArray text() { return bytes(byte()); }
    // A text, and a byte for the length it is repeated to: up to 128 000 bytes, beyond what one
    // datagram carries.
    QByteArray longText();

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
};

// One session: the pair, the strangers' senders, and the steps of one program, each followed by
// the checks of what the copies hold.
class Session final {
public:
    explicit Session(QByteArrayView program);
    ~Session();

    void run();
    QStringList dataFolders() const;
    // A property broken: recorded, and the program stops there.
    void fault(const QString &what);
    const SessionResult &result() const { return m_result; }

private:
    struct Side {
        testkit::TestCopy *copy = nullptr;
        QString name;
        qint64 arrivalsChecked = 0; // how many of its arrivals the last check saw
        qint64 waitingChecked = 0;  // of those, how many still waited for the dispatch then
        qint64 journalBytes = 0;
        qint64 journalFromArrivals = 0; // what the journal grew by in steps where only datagrams came
        qint64 arrivals() const;
    };
    struct Datagram {
        int from = 0;
        QString to;
        QByteArray bytes;
    };

    void step();
    void datagramStep(Step action);
    void userStep(Step action, Side &side);
    void historyStep(Step action, Side &side);
    void settingsStep(Step action, Side &side);

    QByteArray builtDatagram(bool longBody);
    void damage(QByteArray &bytes);
    void send(const Datagram &datagram);
    void deliverAll();
    void deliverNext();
    void boxShown();
    // Inside a handler: checks what the copies hold, and leaves the session once it is over.
    void checkWithinHandler();

    void checkBounds();
    void checkSends();
    void checkEnd();

    ProgramReader m_program;
    std::unique_ptr<testkit::Conversation> m_pair;
    std::array<Side, 2> m_sides;
    // Senders at the copies' own addresses and at two strangers', for datagrams from nowhere.
    std::array<std::unique_ptr<testkit::FakeTransport>, 4> m_senders;
    Datagram m_last;
    qint64 m_sent = 0;
    qint64 m_delivered = 0;
    bool m_userStep = false;
    bool m_boxesLetArrivalsIn = false;
    int m_boxDepth = 0;
    bool m_stop = false;
    // MILTOANNE_FUZZ_TRACE set: each step is written to the error output as it runs.
    const bool m_trace;
    SessionResult m_result;
};

} // namespace fuzzcheck
