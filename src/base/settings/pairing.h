#pragma once

#include "base/core/context.h"
#include "base/protocol/dispatch.h"
#include "base/protocol/seal.h"
#include "base/protocol/send.h"
#include "base/settings/partner.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <optional>

namespace settings {

// The pairing window, opened from the partner window's "暗号化…".
struct PairingView {
    bool sealed = false;    // paired: everything between the two copies goes sealed
    bool confirmed = false; // something sealed has come from the partner since
    QString status;         // the window's first line: whether the conversation is sealed
    QString code;           // the code shown for the partner to type; empty when none is shown
    QString typed;          // the code box
    QString result;         // what the last step came to, or what to do next
    QString dropped;        // what arrived and was dropped, counted; empty when nothing was
    bool busy = false;      // a key is being derived
};
class PairingWindowModel final : public core::ViewModel<PairingView> {
public:
    PairingWindowModel() : ViewModel(QStringLiteral("ミルトアンヌ　暗号化"), core::IconId::normal(0)) {}
};

// Pairing with the registered partner, and the pair key that seals and opens every datagram
// between the two copies.
//
// One side shows a code ("コードを表示"), the other types it ("暗号化する"); both derive the same
// key from it. The side that types pairs at once and asks the partner's presence, sealed; the side
// that shows keeps the code's key aside and pairs when the first datagram that opens with it comes.
// Should no sealed answer come back in time, the side that typed goes back to what it was: a
// mistyped code leaves both as they were.
//
// The key lives in its own file in the data folder, readable by the owner alone, with the counts
// that must never go back (see protocol::SealState). Registering another partner, or "解除",
// removes it.
class Pairing final : public QObject, public protocol::Sealer {
    Q_OBJECT
public:
    static inline const QString kFileName = QStringLiteral("pairKey.json");
    // The typing side asks the partner once a second, so that one lost datagram does not leave the
    // two sides apart, and gives up after this many asks without a sealed answer.
    static constexpr int kConfirmAskMs = 1000;
    static constexpr int kConfirmAsks = 5;
    // Seal counts written ahead to the file: after a crash the next start goes on above them.
    static constexpr quint64 kCountStep = 1 << 16;
    // How soon after a datagram opened the file learns its count (a burst writes it once).
    static constexpr int kSaveDelayMs = 1000;

    struct Counts {
        quint64 damaged = 0;   // changed on the way, or sealed with another key
        quint64 replayed = 0;  // opened before: sent again by someone
        quint64 reflected = 0; // sealed here, and sent back
        quint64 unpaired = 0;  // sealed, while this copy has no key
        quint64 plain = 0;     // plain from the partner's address while paired: not the partner
        quint64 total() const { return damaged + replayed + reflected + unpaired + plain; }
    };

    Pairing(core::Context &context, Partner &partner, protocol::Outbox &outbox);

    // Opens what arrives sealed, and counts the plain datagrams that only claim to be the
    // partner's.
    void plugInto(protocol::Dispatcher &dispatcher);
    // Start-up, after the partner's file: the key, when it is the registered partner's.
    void readFile();
    // The counts that opened are written now (at the end of the program).
    void saveNow();

    bool paired() const { return m_state.has_value(); }
    const Counts &counts() const { return m_counts; }
    QTimer &confirmTimer() { return m_confirmTimer; }

    core::WindowSlot<PairingWindowModel> &slot() { return m_slot; }
    PairingWindowModel &window() { return m_slot.get(); }
    // "暗号化…" in the partner window.
    void open();
    // "コードを表示".
    void showCode();
    // "暗号化する": the code in the box.
    void enterCode();
    // "解除".
    void unpair();
    // "閉じる".
    void close();
    // Pairs with the registered partner by `code` (as typed), keeping the key at once. False,
    // after saying why, when it cannot.
    bool pairWith(const QString &code);

    QByteArray seal(const QByteArray &plain) override;
    std::optional<QByteArray> open(const QByteArray &sealed) override;

private:
    std::optional<protocol::PairKey> keyOf(const QString &code);
    // Takes `state` as the pair and keeps it in the file; false when the file could not be written.
    bool take(const protocol::SealState &state);
    bool writeFile();
    void forget();
    void askPartner();
    void confirmTimeout();
    void partnerChanged();
    void refresh();
    void count(quint64 Counts::*which);

    core::Context &m_context;
    Partner &m_partner;
    protocol::Outbox &m_outbox;
    core::WindowSlot<PairingWindowModel> m_slot;
    std::optional<protocol::SealState> m_state;
    QString m_pairedAddress;  // the partner's address the key was made for
    quint64 m_reservedTo = 0; // the file allows counts below this
    // The key of the code shown here, until the partner's first datagram opens with it.
    std::optional<protocol::SealState> m_shown;
    // What was there before a typed code was taken, until the partner confirms it.
    struct Before {
        std::optional<protocol::SealState> state;
        QString address;
    };
    std::optional<Before> m_unconfirmed;
    QTimer m_confirmTimer;
    int m_asks = 0;
    QTimer m_saveTimer;
    Counts m_counts;
};

} // namespace settings
