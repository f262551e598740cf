#include "base/receive/letters.h"

#include "base/core/errors.h"
#include "base/protocol/tags.h"
#include "base/protocol/wire.h"
#include "base/text/fields.h"

namespace receive {

Letters::Letters(core::Context &context, protocol::Outbox &outbox, protocol::Sending &sending,
                 const core::RegisteredPartner &partner)
    : m_context(context), m_outbox(outbox), m_sending(sending), m_partner(partner)
{
    context.menu.setAction(core::MenuId::Letter, [this] { open(); });
    context.followIconSet(m_slot);
    // The reaction to a delivered letter marks its status; the letter has no notice of its own.
    connect(&sending, &protocol::Sending::reacted, this, [this](const protocol::SentEntry &entry) {
        if (entry.kind != protocol::SentEntry::Kind::Letter)
            return;
        LetterWindowModel *letter = m_slot.ifLoaded();
        if (letter != nullptr && letter->view().state == LetterState::Delivered)
            letter->edit([](LetterView &v) { v.state = LetterState::Answered; });
    });
}

void Letters::open()
{
    LetterWindowModel &window = m_slot.get();
    window.show();
    if (window.view().state == LetterState::None)
        window.edit([](LetterView &v) { v.state = LetterState::Waiting; });
}

void Letters::confirm()
{
    LetterWindowModel &window = m_slot.get();
    if (window.view().state != LetterState::Waiting) {
        m_slot.unload();
        return;
    }
    if (window.view().letter.isEmpty()) {
        m_context.box(QStringLiteral("内容を入力してください。"), platform::box::exclamation,
                      core::kErrorTitle);
        return;
    }
    const QString datagram = letterDatagram();
    const qsizetype room = protocol::Outbox::room(m_partner.peer());
    if (!protocol::fitsOneDatagram(datagram, room)) {
        // Everything but the letter's own text is the tag and the header in front of it.
        const QString prefix = datagram.left(datagram.size() - window.view().letter.size());
        m_context.box(protocol::tooLongText(QStringLiteral("内容が長すぎて送信できません。"), prefix, room),
                      platform::box::exclamation, core::kErrorTitle);
        return;
    }
    window.hide();
}

void Letters::cancel()
{
    m_slot.unload();
}

QString Letters::letterDatagram()
{
    return protocol::tagOf(protocol::Kind::Letter) +
           protocol::ordinaryMessage(m_sending.head(), m_slot.get().view().letter);
}

bool Letters::handOver(const protocol::Arrival &message)
{
    core::Context &c = m_context;
    const LetterWindowModel *window = m_slot.ifLoaded();
    if (window == nullptr || window->view().state != LetterState::Waiting ||
        !m_partner.isSender(message.sender))
        return false;
    const QString datagram = letterDatagram();
    // A letter still being written can outgrow a datagram; it waits until it is cut down.
    if (!protocol::fitsOneDatagram(datagram, protocol::Outbox::room(message.sender)))
        return false;
    // Unlike every other send, a failure here is reported: the letter must not be marked as
    // delivered when it never left.
    if (const int failure = m_outbox.send(message.sender, datagram))
        throw core::RuntimeError(failure, "letter not sent");
    const QDateTime now = c.now();
    m_slot.get().edit([&](LetterView &v) {
        v.state = LetterState::Delivered;
        v.deliveredAt = text::shortDate(now.date()) + QStringLiteral(" / ") + text::shortTime(now.time());
    });
    m_sending.letterHandedOver(message.sender, m_slot.get().view().letter);
    return true;
}

QString LetterView::statusPanel() const
{
    switch (state) {
    case LetterState::None:
        return {};
    case LetterState::Waiting:
        return QStringLiteral("未確認");
    case LetterState::Delivered:
        return QStringLiteral("確認されました...  ") + deliveredAt;
    case LetterState::Answered:
        return QStringLiteral(">確認されました...  ") + deliveredAt;
    }
    return {};
}

} // namespace receive
