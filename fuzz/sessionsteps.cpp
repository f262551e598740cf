#include "sessionsteps.h"

#include "base/protocol/tags.h"
#include "base/text/cp932.h"
#include "base/text/fields.h"
#include "bounds.h"

#include <QFileInfo>

#include <cstdio>

namespace fuzzcheck {
namespace {

using testkit::TestCopy;

const QString kBroadcast = QStringLiteral("255.255.255.255");
const QString kSenderAddresses[] = {QStringLiteral("127.0.0.2"), QStringLiteral("127.0.0.3"),
                                    QStringLiteral("127.0.0.4"), QStringLiteral("127.0.0.9")};

// More than any honest step needs, so that two copies answering each other for ever are caught.
constexpr qint64 kMostDeliveriesPerStep = 100000;
// Limits on what one program may make the rig carry, so that each input stays quick: enough
// datagrams to pass every bound.
constexpr qint64 kMostSent = 4096;
constexpr qint64 kMostDeliveries = 50000;
constexpr qint64 kMostQueuedBytes = qint64{16} << 20;

QString typed(const QByteArray &bytes)
{
    return text::fromCp932(bytes);
}

// The options both copies start with, from the program's first byte. History and the journal are
// always on: they are what grows.
void applyOptions(core::Options &opt, uchar bits, bool bob)
{
    opt.logEnabled = 1;
    opt.logSave = 1;
    opt.addOnHold = (bits & 0x01) ? 0 : 1;
    opt.rejectOthers = (bits & (bob ? 0x02 : 0x80)) ? 1 : 0;
    opt.blinkIcon = (bits & 0x04) != 0;
    opt.sendConfirmMin = (bits & 0x08) ? 1 : 0;
    opt.recvConfirmMin = (bits & 0x10) ? 1 : 0;
    opt.autoErase = (bits & 0x20) ? 1 : 0;
    opt.notifyStartEnd = (bits & 0x40) ? 1 : 0;
}

QString pickName(uchar choice)
{
    static const QString names[] = {QStringLiteral("alice"),     QStringLiteral("bob"),
                                    QStringLiteral("carol"),     QString(),
                                    QStringLiteral("START送信"), QStringLiteral("ﾐﾙﾄｱﾝﾇ 長い名前の人です")};
    return names[choice % std::size(names)];
}

// A step handed to a function that does not run its group: kSteps and the switches disagree.
[[noreturn]] void wrongGroup(Step step)
{
    qFatal("session step %s is not in the group it was handed to", kSteps[static_cast<uchar>(step)].name);
}

// Thrown from inside a copy's handler when the session is over: a handler can run on for ever on
// what arrived (a thousand arrivals waiting behind a box, each rewriting a growing journal entry),
// and nothing but leaving the handler stops it. No handler catches it; Session::run does.
struct SessionOver {};

} // namespace

QByteArray ProgramReader::bytes(qsizetype count)
{
    count = qMin(count, m_bytes.size() - m_at);
    if (count <= 0)
        return {};
    QByteArray out = m_bytes.sliced(m_at, count).toByteArray();
    m_at += count;
    return out;
}

QByteArray ProgramReader::longText()
{
    QByteArray pattern = text();
    if (pattern.isEmpty())
        pattern = "a";
    const qsizetype length = (qsizetype{byte()} + 1) * 500;
    QByteArray out = pattern.repeated(length / pattern.size() + 1);
    out.truncate(length);
    return out;
}

Session::Session(QByteArrayView program)
    : m_program(program), m_trace(qEnvironmentVariableIsSet("MILTOANNE_FUZZ_TRACE"))
{
    const uchar options = m_program.byte();
    m_boxesLetArrivalsIn = (m_program.byte() & 0x01) != 0;
    m_pair = std::make_unique<testkit::Conversation>(
        [options](core::Options &opt) { applyOptions(opt, options, false); },
        [options](core::Options &opt) { applyOptions(opt, options, true); });
    m_sides[0].copy = &m_pair->alice;
    m_sides[0].name = QStringLiteral("alice");
    m_sides[1].copy = &m_pair->bob;
    m_sides[1].name = QStringLiteral("bob");
    for (Side &side : m_sides) {
        side.arrivalsChecked = side.arrivals();
        side.copy->dialogs.whileShown = [this] { boxShown(); };
        side.copy->files.beforeWrite = [this] { checkWithinHandler(); };
    }
    for (std::size_t i = 0; i < m_senders.size(); ++i)
        m_senders[i] = m_pair->net.host(kSenderAddresses[i]);
}

Session::~Session() = default;

QStringList Session::dataFolders() const
{
    return {m_sides[0].copy->programDir(), m_sides[1].copy->programDir()};
}

void Session::run()
{
    try {
        while (!m_stop && !m_program.atEnd()) {
            step();
            if (m_stop)
                break;
            checkSends();
            checkBounds();
        }
        if (!m_stop) {
            // Whatever is still on its way arrives, as it would after the last step.
            m_userStep = false;
            deliverAll();
            checkSends();
            checkBounds();
        }
    } catch (const SessionOver &) {
        // Left from inside a handler; what ended the session is in the result.
    }
    if (!m_stop)
        checkEnd();
}

void Session::checkWithinHandler()
{
    checkBounds();
    if (m_stop)
        throw SessionOver{};
}

void Session::step()
{
    const uchar op = m_program.byte();
    Side &side = m_sides[op >> 7];
    const uchar code = op & 0x7F;
    const StepRow *row = code < std::size(kSteps) ? &kSteps[code] : nullptr;
    const QString name = row ? QLatin1String(row->name) : QStringLiteral("?%1").arg(code);
    if (!m_result.steps.isEmpty())
        m_result.steps += u' ';
    m_result.steps += side.name.front() + u'.' + name;
    if (m_trace)
        std::fprintf(stderr, "step: %s %s\n", qPrintable(side.name), qPrintable(name));
    m_userStep = row && row->group != Group::Datagram;
    if (!row)
        return;
    switch (row->group) {
    case Group::Datagram:
        datagramStep(row->step);
        break;
    case Group::User:
        userStep(row->step, side);
        break;
    case Group::History:
        historyStep(row->step, side);
        break;
    case Group::Settings:
        settingsStep(row->step, side);
        break;
    }
}

// --- Datagrams ------------------------------------------------------------------------------------

// A datagram of a kind read from the program: its tag and the fields that kind carries, filled
// from the program, with a text of any bytes after them; then damaged as the program says.
QByteArray Session::builtDatagram(bool longBody)
{
    const std::size_t kinds = protocol::kTags.size() + 1;
    const auto kind = static_cast<protocol::Kind>(m_program.byte() % kinds);
    const uchar choice = m_program.byte();
    const QString name = text::fixedField(pickName(choice), 12);
    const QTime time = QTime(0, 0).addSecs(choice * 337);
    QString head = protocol::tagOf(kind);
    switch (kind) {
    case protocol::Kind::Message:
    case protocol::Kind::Letter:
        head += name + text::hhmmss(time);
        break;
    case protocol::Kind::Start:
    case protocol::Kind::End:
    case protocol::Kind::PresenceOk:
    case protocol::Kind::PresenceOneSided:
        head += text::hhmm(time);
        break;
    case protocol::Kind::SearchResult:
        head += text::fixedField(pickName(choice), 20) + text::fixedField(QStringLiteral("host "), 20) +
                text::fixedField(kSenderAddresses[choice % 4] + u' ', 20);
        break;
    case protocol::Kind::Call:
        head += (choice & 1) ? u'1' : u'2';
        break;
    default:
        break;
    }
    QByteArray bytes = text::toCp932(head) + (longBody ? m_program.longText() : m_program.text());
    damage(bytes);
    bytes.truncate(bounds::kDatagram); // the wire carries no more
    return bytes;
}

void Session::damage(QByteArray &bytes)
{
    const uchar how = m_program.byte() % 5;
    if (how == 0)
        return;
    const qsizetype at = m_program.word() % (bytes.size() + 1);
    const char value = static_cast<char>(m_program.byte());
    switch (how) {
    case 1:
        bytes.truncate(at);
        break;
    case 2:
        if (at < bytes.size())
            bytes[at] = value;
        break;
    case 3:
        bytes.insert(at, value);
        break;
    default:
        bytes.remove(at, 1);
        break;
    }
}

void Session::send(const Datagram &datagram)
{
    // Past the limit the program goes on, without more datagrams.
    if (++m_sent > kMostSent)
        return;
    m_senders[static_cast<std::size_t>(datagram.from)]->send(datagram.to, kWirePort, datagram.bytes);
}

void Session::deliverNext()
{
    if (m_pair->net.queued() == 0)
        return;
    m_pair->net.deliverNext();
    if (++m_delivered > kMostDeliveries)
        m_stop = true;
}

void Session::deliverAll()
{
    qint64 delivered = 0;
    while (!m_stop && m_pair->net.queued() > 0) {
        if (++delivered > kMostDeliveriesPerStep) {
            fault(
                QStringLiteral("the copies keep answering each other: %1 datagrams and more").arg(delivered));
            return;
        }
        deliverNext();
        // A flood is checked as it comes, so that what grows with each datagram is caught early.
        checkBounds();
    }
}

void Session::datagramStep(Step action)
{
    switch (action) {
    case Step::Raw:
    case Step::Built:
    case Step::BuiltLong: {
        Datagram d;
        d.from = m_program.byte() % 4;
        const uchar to = m_program.byte() % 3;
        d.to = to == 2 ? kBroadcast : kSenderAddresses[to];
        d.bytes = action == Step::Raw ? m_program.text() : builtDatagram(action == Step::BuiltLong);
        send(d);
        m_last = d;
        break;
    }
    case Step::Burst: {
        if (m_last.to.isEmpty())
            break;
        const uchar n = m_program.byte();
        int count = (n & 0x80) ? ((n & 0x7F) + 1) * 32 : n + 1;
        const qint64 size = qMax<qint64>(m_last.bytes.size(), 1);
        while (count-- > 0 && m_sent < kMostSent && m_pair->net.queued() * size < kMostQueuedBytes)
            send(m_last);
        break;
    }
    case Step::DeliverNext:
        deliverNext();
        break;
    case Step::DeliverAll:
        deliverAll();
        break;
    default:
        wrongGroup(action);
    }
}

// A box is up: its event loop lets the datagrams on their way arrive, which wait while the
// dispatch they arrive at is busy.
void Session::boxShown()
{
    if (m_boxesLetArrivalsIn && m_boxDepth < 2 && !m_stop) {
        ++m_boxDepth;
        deliverAll();
        for (const Side &side : m_sides) {
            const qsizetype waiting = side.copy->copy->dispatcher().waiting();
            if (waiting > bounds::kWaitingArrivals)
                fault(
                    QStringLiteral("%1 keeps %2 arrivals waiting during a box").arg(side.name).arg(waiting));
        }
        --m_boxDepth;
    }
    if (m_stop)
        throw SessionOver{};
}

// --- What the users do -----------------------------------------------------------------------------

void Session::userStep(Step action, Side &side)
{
    TestCopy &t = *side.copy;
    copy::Copy &c = *t.copy;
    switch (action) {
    case Step::TrayPress:
        t.tray.pressLeft();
        break;
    case Step::Compose:
        c.compose().open();
        break;
    case Step::TypeCompose:
    case Step::TypeComposeLong: {
        const QString text = typed(action == Step::TypeCompose ? m_program.text() : m_program.longText());
        t.compose().window().edit([&](send::ComposeView &v) { v.message = text; });
        break;
    }
    case Step::Send:
        c.compose().send();
        break;
    case Step::ComposeCancel:
        c.compose().cancel();
        break;
    case Step::Clipboard:
        t.clipboard.setText(typed(m_program.text()));
        break;
    case Step::ClipSend:
        c.compose().sendClipboard();
        break;
    case Step::OpenReceived:
        c.receiving().openReceived();
        break;
    case Step::TypeReply:
    case Step::TypeReplyLong: {
        const QString text = typed(action == Step::TypeReply ? m_program.text() : m_program.longText());
        t.receivedWindow().edit([&](receive::ReceivedView &v) { v.reply = text; });
        break;
    }
    case Step::Reply:
        c.receivedMessage().reply();
        break;
    case Step::OpenClose:
        c.receivedMessage().openOrClose();
        break;
    case Step::Hold:
        c.receivedMessage().hold();
        break;
    case Step::Close:
        c.receivedMessage().close();
        break;
    case Step::LetterMenu:
        c.letters().open();
        break;
    case Step::TypeLetter:
    case Step::TypeLetterLong: {
        const QString text = typed(action == Step::TypeLetter ? m_program.text() : m_program.longText());
        // Only a window that is there can be typed into.
        if (receive::LetterWindowModel *letter = t.copy->letters().slot().ifLoaded())
            letter->edit([&](receive::LetterView &v) { v.letter = text; });
        break;
    }
    case Step::LetterOk:
        if (t.copy->letters().slot().isLoaded())
            c.letters().confirm();
        break;
    case Step::LetterCancel:
        if (t.copy->letters().slot().isLoaded())
            c.letters().cancel();
        break;
    case Step::Call:
        c.callSignal().sendCall();
        break;
    case Step::CallKind:
        c.menuClicked((m_program.byte() & 1) ? core::MenuId::CallPhone : core::MenuId::CallPerson);
        break;
    case Step::Lock:
        c.menuClicked(core::MenuId::Lock);
        break;
    case Step::Tick: {
        // A timer fires only while it runs, as on a real event loop.
        send::SendNotices &notices = c.notices();
        switch (m_program.byte() % 6) {
        case 0:
            if (t.trayIcon().isCalling())
                t.trayIcon().callStep();
            break;
        case 1:
            if (t.trayIcon().isBlinking())
                t.trayIcon().blinkStep();
            break;
        case 2:
            if (notices.reactionTimer().isActive())
                notices.reactionTick();
            break;
        case 3:
            if (notices.smallTimer().isActive())
                notices.smallTick();
            break;
        case 4:
            if (c.sending().answerTimer().isActive())
                c.sending().answerTimeout();
            break;
        default:
            if (c.partner().checkTimer().isActive())
                c.partner().checkTimeout();
            break;
        }
        break;
    }
    case Step::Clock: {
        // Seconds, or hours at a time, so that days change too.
        const uchar n = m_program.byte();
        t.clock.advance(n < 128 ? n : (n - 127) * 997);
        break;
    }
    default:
        wrongGroup(action);
    }
}

void Session::historyStep(Step action, Side &side)
{
    copy::Copy &c = *side.copy->copy;
    history::HistoryViewer &viewer = c.historyViewer();
    switch (action) {
    case Step::LogOpen:
        viewer.open();
        break;
    case Step::LogTab: {
        const uchar which = m_program.byte() % 3;
        // Any other key than the sent tab's meant the received tab; the text is still read, so
        // that the program's later bytes keep their meaning.
        if (which == 2)
            typed(m_program.text());
        viewer.showTab(which == 0 ? history::Which::Sent : history::Which::Received);
        break;
    }
    case Step::LogRow: {
        const uchar how = m_program.byte();
        const qint32 position = (how & 2) ? static_cast<qint32>(m_program.word() | (m_program.word() << 16))
                                          : static_cast<qint8>(m_program.byte());
        if (how & 1)
            viewer.openReceivedRow(position);
        else
            viewer.openSentRow(position);
        break;
    }
    case Step::LogNext:
        viewer.next();
        break;
    case Step::LogBack:
        viewer.back();
        break;
    case Step::LogOk:
        viewer.ok();
        break;
    case Step::LogClear:
        viewer.clear();
        break;
    case Step::LogClose:
        viewer.closeBox();
        break;
    case Step::LogRender:
        // What the lists' views read: the headers, and the rows at both ends.
        for (core::HistoryList *list : {&side.copy->history().sent(), &side.copy->history().received()}) {
            const int rows = list->rowCount();
            for (int section = -1; section <= core::HistoryList::kColumns; ++section)
                list->headerData(section, Qt::Horizontal, Qt::DisplayRole);
            for (int row : {0, 1, 2, rows - 3, rows - 2, rows - 1, rows}) {
                for (int column = 0; column <= core::HistoryList::kColumns; ++column) {
                    const QModelIndex index = list->index(row, column);
                    list->data(index, Qt::DisplayRole);
                    list->data(index, Qt::ToolTipRole);
                }
            }
        }
        break;
    default:
        wrongGroup(action);
    }
}

void Session::settingsStep(Step action, Side &side)
{
    TestCopy &t = *side.copy;
    copy::Copy &c = *t.copy;
    receive::UserSearch &search = c.userSearch();
    settings::Partner &partner = c.partner();
    switch (action) {
    case Step::Search:
        search.open();
        break;
    case Step::SearchAgain:
        if (search.slot().isLoaded())
            search.searchAgain();
        break;
    case Step::SearchClose:
        if (search.slot().isLoaded())
            search.close();
        break;
    case Step::PartnerMenu:
        partner.open();
        break;
    case Step::PartnerType: {
        const QString name = typed(m_program.text());
        const uchar which = m_program.byte() % 6;
        const QString address = which < 4    ? kSenderAddresses[which]
                                : which == 4 ? kBroadcast
                                             : typed(m_program.text());
        if (settings::PartnerWindowModel *window = t.copy->partner().slot().ifLoaded())
            window->edit([&](settings::PartnerView &v) {
                v.name = name;
                v.address = address;
            });
        break;
    }
    case Step::PartnerOk:
        if (t.copy->partner().slot().isLoaded())
            partner.registerPartner();
        break;
    case Step::PartnerCheck:
        if (t.copy->partner().slot().isLoaded())
            partner.checkPresence();
        break;
    case Step::PartnerCancel:
        if (t.copy->partner().slot().isLoaded())
            partner.close();
        break;
    case Step::DiskFails: {
        const uchar n = m_program.byte();
        t.files.failNextWrites(
            n % 4 + 1, (n & 4) ? platform::FileResult::Failed : platform::FileResult::DiskFull, (n >> 3) % 4);
        break;
    }
    case Step::NextAnswer: {
        static const int answers[] = {platform::box::ok, platform::box::cancel, platform::box::retry,
                                      platform::box::yes, platform::box::no};
        t.dialogs.answerNext(answers[m_program.byte() % std::size(answers)]);
        break;
    }
    default:
        wrongGroup(action);
    }
}

} // namespace fuzzcheck
