#pragma once

#include <QString>
#include <QStringView>

#include <array>

namespace protocol {

// Every kind of datagram. The first fourteen carry a tag; Message has none.
enum class Kind {
    Delivered,        // "送信"
    Refused,          // "OTHER送信"
    Opened,           // "Open確認"
    Held,             // "保留"
    Discarded,        // "破棄"
    PresenceRequest,  // "存在確認"
    PresenceOk,       // "存在OK       "
    PresenceOneSided, // "存在OK?      "
    SearchRequest,    // "ADDRESS検索"
    SearchResult,     // "ADDRESS検索結果"
    Letter,           // "LETTER 置き手紙"
    Call,             // "CALLYOU呼び出し"
    Start,            // "START送信    "
    End,              // "END送信      "
    Message,
};

constexpr int kTagWidth = 11;

struct TagRow {
    Kind kind;
    QStringView tag;
};

// The tags in the order they are tested. A short tag matches only a datagram that is the tag
// alone, because the comparison takes the datagram's first 11 characters.
inline constexpr std::array<TagRow, 14> kTags{{
    {Kind::Delivered, u"送信"},
    {Kind::Refused, u"OTHER送信"},
    {Kind::Opened, u"Open確認"},
    {Kind::Held, u"保留"},
    {Kind::Discarded, u"破棄"},
    {Kind::PresenceRequest, u"存在確認"},
    {Kind::PresenceOk, u"存在OK       "},
    {Kind::PresenceOneSided, u"存在OK?      "},
    {Kind::SearchRequest, u"ADDRESS検索"},
    {Kind::SearchResult, u"ADDRESS検索結果"},
    {Kind::Letter, u"LETTER 置き手紙"},
    {Kind::Call, u"CALLYOU呼び出し"},
    {Kind::Start, u"START送信    "},
    {Kind::End, u"END送信      "},
}};

// The kinds whose tag is followed by the sender's start time "hh:mm" (start and end notices,
// presence answers); without one after the tag, such a datagram is an ordinary message.
constexpr bool carriesStartTime(Kind kind)
{
    return kind == Kind::Start || kind == Kind::End || kind == Kind::PresenceOk ||
           kind == Kind::PresenceOneSided;
}

// The tag text of a tagged kind; empty for Message.
QString tagOf(Kind kind);

// The kind of a decoded datagram: its first 11 characters (all of it when shorter) against the
// tags, in table order, exactly and case-sensitively; no match is an ordinary message, and so is
// a datagram whose tag should be followed by a start time that is not there.
Kind classify(QStringView datagram);

} // namespace protocol
