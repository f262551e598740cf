#pragma once

#include "base/core/context.h"
#include "base/core/partnerrecord.h"
#include "base/protocol/arrival.h"
#include "base/protocol/dispatch.h"
#include "base/protocol/send.h"

#include <QDateTime>

#include <QTimer>

namespace settings {

// The partner registration window (FrmAddress).
struct PartnerView {
    QString name;
    QString address;
    QString checkResult;
    bool answeredMutual = false;   // the copy there runs and has me as its partner
    bool answeredOneSided = false; // it runs, with another partner or none
    bool answeredNobody = false;   // nobody answered
    QString checkHint;             // the result's tool tip: what may be wrong when nobody answered
};
class PartnerWindowModel final : public core::ViewModel<PartnerView> {
public:
    PartnerWindowModel() : ViewModel(QStringLiteral("ミルトアンヌ"), core::IconId::normal(0)) {}
};

struct AddressFile {
    QString name;
    QString address;
};
// The address file's bytes; empty optional for a file whose first field is not the marker.
// Fields the file lacks stay empty.
std::optional<AddressFile> parseAddressFile(const QByteArray &bytes);
QByteArray formatAddressFile(const AddressFile &partner);

// The registered partner, and the registration window's handlers: opening, registering and the
// presence check.
class Partner final : public QObject {
    Q_OBJECT
public:
    // How long the presence check waits for an answer before it says nobody is there.
    static constexpr int kCheckWaitMs = 1000;
    // How long after a check its answer is still taken: late enough for a slow network, after the
    // check's own wait has said "いないね～！".
    static constexpr int kAnswerMs = 5000;

    Partner(core::Context &context, protocol::Outbox &outbox);

    // Who is registered; every part that tells the partner from anyone else reads it here.
    const core::RegisteredPartner &registered() const { return m_registered; }
    // Start-up: the partner from adrFile.dat, also into the registration window's boxes (loaded,
    // not shown). What a save cut off by a crash left beside the file is removed first.
    void readFile();
    // Takes `partner` as registered, as "登録" does but without writing the file.
    void setRegistered(core::RegisteredPartner partner);
    // Whether the partner's copy and this one are paired (the pairing part says so).
    void setPaired(bool paired) { m_registered.paired = paired; }
    // Takes the answers to the presence check.
    void plugInto(protocol::Dispatcher &dispatcher);

    // The registration window, which unloads when it closes.
    core::WindowSlot<PartnerWindowModel> &slot() { return m_slot; }
    PartnerWindowModel &window() { return m_slot.get(); }

    // "お相手登録(&P)": through the password window when a password guards it.
    void open();
    // Fills the boxes from the partner and shows the window.
    void showWindow();
    // "登録".
    void registerPartner();
    // "存在確認".
    void checkPresence();
    // "存在OK       " (`mutual`: we are its partner too, "いるよ～") or "存在OK?      " ("片想い中")
    // arrived.
    void presenceAnswered(const protocol::Arrival &answer, bool mutual);
    // "暗号化…".
    void requestPairing() { emit pairingRequested(); }
    // "閉じる" and the close box: the window unloads, nothing is saved.
    void close();
    // The presence check's wait ran out.
    void checkTimeout();

    QTimer &checkTimer() { return m_checkTimer; }

signals:
    // The registration waits for the password.
    void passwordNeeded();
    // Another partner may be registered: a pairing made with the one before no longer holds.
    void registeredChanged();
    // "暗号化…" was pressed.
    void pairingRequested();

private:
    // False, after saying so, when the address box is empty.
    bool addressTyped(const QString &address);

    core::Context &m_context;
    core::WindowSlot<PartnerWindowModel> m_slot;
    protocol::Outbox &m_outbox;
    core::RegisteredPartner m_registered;
    QTimer m_checkTimer;
    // The last check: the address it asked, when, and whether an answer was heard.
    struct Asked {
        core::Peer peer;
        QDateTime at;
        bool answered = false;
    } m_asked;
};

} // namespace settings
