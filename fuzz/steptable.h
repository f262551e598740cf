#pragma once

#include <QtGlobal>

#include <cstddef>
#include <iterator>

namespace fuzzcheck {

// Every step a program can take, by the code in the low seven bits of its byte. Append only: a new
// step takes the next free code, and no code ever changes or is reused, because the committed
// programs (fuzz/corpus/fuzz_session/, fuzz/found/ and the rows of tests/base/test_fuzzfound.cpp) are
// written in these codes and must go on meaning what they meant when they were found. A code that
// names no step (today 50 to 127) is a step that does nothing and reads nothing more, so appending
// a step changes only the programs that held its code as such a gap (their trace shows it). A new
// step is a value here and a row at the end of kSteps below.
enum class Step : uchar {
    // Datagrams from anyone, and their delivery.
    Raw = 0,
    Built = 1,
    BuiltLong = 2,
    Burst = 3,
    DeliverNext = 4,
    DeliverAll = 5,
    // Composing, the received window, letters, calls, the lock, time.
    TrayPress = 6,
    Compose = 7,
    TypeCompose = 8,
    TypeComposeLong = 9,
    Send = 10,
    ComposeCancel = 11,
    Clipboard = 12,
    ClipSend = 13,
    OpenReceived = 14,
    TypeReply = 15,
    TypeReplyLong = 16,
    Reply = 17,
    OpenClose = 18,
    Hold = 19,
    Close = 20,
    LetterMenu = 21,
    TypeLetter = 22,
    TypeLetterLong = 23,
    LetterOk = 24,
    LetterCancel = 25,
    Call = 26,
    CallKind = 27,
    Lock = 28,
    Tick = 29,
    Clock = 30,
    // The history viewer.
    LogOpen = 31,
    LogTab = 32,
    LogRow = 33,
    LogNext = 34,
    LogBack = 35,
    LogOk = 36,
    LogClear = 37,
    LogClose = 38,
    LogRender = 39,
    // The user search, the partner window, the disk, the boxes.
    Search = 40,
    SearchAgain = 41,
    SearchClose = 42,
    PartnerMenu = 43,
    PartnerType = 44,
    PartnerOk = 45,
    PartnerCheck = 46,
    PartnerCancel = 47,
    DiskFails = 48,
    NextAnswer = 49,
};

// What a step drives, and so which of the session's functions runs it.
enum class Group : uchar { Datagram, User, History, Settings };

struct StepRow {
    Step step;
    const char *name;
    Group group;
};

// The steps in code order, one row per code from 0 up, with the name the trace shows.
inline constexpr StepRow kSteps[] = {
    {Step::Raw, "Raw", Group::Datagram},
    {Step::Built, "Built", Group::Datagram},
    {Step::BuiltLong, "BuiltLong", Group::Datagram},
    {Step::Burst, "Burst", Group::Datagram},
    {Step::DeliverNext, "DeliverNext", Group::Datagram},
    {Step::DeliverAll, "DeliverAll", Group::Datagram},
    {Step::TrayPress, "TrayPress", Group::User},
    {Step::Compose, "Compose", Group::User},
    {Step::TypeCompose, "TypeCompose", Group::User},
    {Step::TypeComposeLong, "TypeComposeLong", Group::User},
    {Step::Send, "Send", Group::User},
    {Step::ComposeCancel, "ComposeCancel", Group::User},
    {Step::Clipboard, "Clipboard", Group::User},
    {Step::ClipSend, "ClipSend", Group::User},
    {Step::OpenReceived, "OpenReceived", Group::User},
    {Step::TypeReply, "TypeReply", Group::User},
    {Step::TypeReplyLong, "TypeReplyLong", Group::User},
    {Step::Reply, "Reply", Group::User},
    {Step::OpenClose, "OpenClose", Group::User},
    {Step::Hold, "Hold", Group::User},
    {Step::Close, "Close", Group::User},
    {Step::LetterMenu, "LetterMenu", Group::User},
    {Step::TypeLetter, "TypeLetter", Group::User},
    {Step::TypeLetterLong, "TypeLetterLong", Group::User},
    {Step::LetterOk, "LetterOk", Group::User},
    {Step::LetterCancel, "LetterCancel", Group::User},
    {Step::Call, "Call", Group::User},
    {Step::CallKind, "CallKind", Group::User},
    {Step::Lock, "Lock", Group::User},
    {Step::Tick, "Tick", Group::User},
    {Step::Clock, "Clock", Group::User},
    {Step::LogOpen, "LogOpen", Group::History},
    {Step::LogTab, "LogTab", Group::History},
    {Step::LogRow, "LogRow", Group::History},
    {Step::LogNext, "LogNext", Group::History},
    {Step::LogBack, "LogBack", Group::History},
    {Step::LogOk, "LogOk", Group::History},
    {Step::LogClear, "LogClear", Group::History},
    {Step::LogClose, "LogClose", Group::History},
    {Step::LogRender, "LogRender", Group::History},
    {Step::Search, "Search", Group::Settings},
    {Step::SearchAgain, "SearchAgain", Group::Settings},
    {Step::SearchClose, "SearchClose", Group::Settings},
    {Step::PartnerMenu, "PartnerMenu", Group::Settings},
    {Step::PartnerType, "PartnerType", Group::Settings},
    {Step::PartnerOk, "PartnerOk", Group::Settings},
    {Step::PartnerCheck, "PartnerCheck", Group::Settings},
    {Step::PartnerCancel, "PartnerCancel", Group::Settings},
    {Step::DiskFails, "DiskFails", Group::Settings},
    {Step::NextAnswer, "NextAnswer", Group::Settings},
};

constexpr bool rowsFollowTheirCodes()
{
    for (std::size_t code = 0; code < std::size(kSteps); ++code) {
        if (static_cast<std::size_t>(kSteps[code].step) != code)
            return false;
    }
    return true;
}
static_assert(rowsFollowTheirCodes(), "each row of kSteps sits at its own code, none skipped");
static_assert(std::size(kSteps) <= 0x80, "a step's code is the low seven bits of its byte");

} // namespace fuzzcheck
