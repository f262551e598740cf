#include "base/receive/letters.h"

#include "base/core/errors.h"
#include "base/protocol/send.h"
#include "base/protocol/tags.h"
#include "base/protocol/wire.h"
#include "base/text/fields.h"

namespace receive {
void Letters::open()
{
    core::LetterWindowModel &window = m_context.letterWindow();
    window.show();
    if (window.view().state == core::LetterState::None)
        window.edit([](core::LetterView &v) { v.state = core::LetterState::Waiting; });
}

void Letters::confirm()
{
    core::LetterWindowModel &window = m_context.letterWindow();
    if (window.view().state != core::LetterState::Waiting) {
        m_context.letterSlot.unload();
        return;
    }
    if (window.view().letter.isEmpty()) {
        m_context.box(QStringLiteral("内容を入力してください。"), platform::box::exclamation,
                      core::kErrorTitle);
        return;
    }
    const QString datagram = letterDatagram();
    if (!protocol::fitsOneDatagram(datagram)) {
        // Everything but the letter's own text is the tag and the header in front of it.
        const QString prefix = datagram.left(datagram.size() - window.view().letter.size());
        m_context.box(protocol::tooLongText(QStringLiteral("内容が長すぎて送信できません。"), prefix),
                      platform::box::exclamation, core::kErrorTitle);
        return;
    }
    window.hide();
}

void Letters::cancel()
{
    m_context.letterSlot.unload();
}

QString Letters::letterDatagram()
{
    core::Context &c = m_context;
    const protocol::MessageHead head =
        protocol::messageHead(protocol::signature(c.opt.userName, c.state.loginName), c.now().time());
    return protocol::tagOf(protocol::Kind::Letter) +
           protocol::ordinaryMessage(head, c.letterWindow().view().letter);
}

bool Letters::handOver(const QString &partner)
{
    core::Context &c = m_context;
    const QString datagram = letterDatagram();
    // A letter still being written can outgrow a datagram; it waits until it is cut down.
    if (!protocol::fitsOneDatagram(datagram))
        return false;
    // Unlike every other send, a failure here is reported: the letter must not be marked as
    // delivered when it never left.
    if (const int failure = protocol::sendDatagram(c, partner, datagram))
        throw core::RuntimeError(failure, "letter not sent");
    const QDateTime now = c.now();
    c.letterWindow().edit([&](core::LetterView &v) {
        v.state = core::LetterState::Delivered;
        v.deliveredAt = text::shortDate(now.date()) + QStringLiteral(" / ") + text::shortTime(now.time());
    });
    return true;
}

} // namespace receive
