#pragma once

#include <QtGlobal>

namespace core {

// A picture the program can show, named by what it is rather than by a loaded image, so that the
// tray record, the windows and the tests all speak of the same value. "A message is waiting" is
// the comparison of two of these.
struct IconId {
    enum class Kind : quint8 { None, Normal, Received, CallFrame, Start, End };

    Kind kind = Kind::None;
    quint8 index = 0; // icon set 0-9 for Normal and Received, frame 1-5 for CallFrame

    static constexpr IconId normal(int set) { return {Kind::Normal, static_cast<quint8>(set)}; }
    static constexpr IconId received(int set) { return {Kind::Received, static_cast<quint8>(set)}; }
    static constexpr IconId callFrame(int frame) { return {Kind::CallFrame, static_cast<quint8>(frame)}; }
    static constexpr IconId start() { return {Kind::Start, 0}; }
    static constexpr IconId end() { return {Kind::End, 0}; }

    // The 32-bit handle that the tray record carries; 0 is no picture.
    constexpr quint32 handle() const
    {
        return kind == Kind::None ? 0u : (static_cast<quint32>(kind) << 8) | index;
    }
    static constexpr IconId fromHandle(quint32 h)
    {
        return {static_cast<Kind>((h >> 8) & 0xFF), static_cast<quint8>(h & 0xFF)};
    }

    friend constexpr bool operator==(IconId, IconId) = default;
};

constexpr int kIconSets = 10;

} // namespace core
