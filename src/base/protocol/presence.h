#pragma once

#include "base/core/context.h"
#include "base/protocol/arrival.h"

// Whether the other side runs: the presence check's answer, and the start and end notices.
namespace protocol {

// "存在確認" arrived: answer with our start time, saying whether the asker is our partner.
void answerPresence(core::Context &context, const Arrival &request);
// How long after a check its answer is still taken: late enough for a slow network, after the
// check's own one-second wait has said "いないね～！".
constexpr int kPresenceAnswerMs = 5000;
// An answer arrived: "いるよ～" when we are its partner too, "片想い中" when not. Only the copy
// the last check asked, within kPresenceAnswerMs, is heard.
void presenceAnswered(core::Context &context, const Arrival &answer, bool mutual);

void startNotice(core::Context &context);
void endNotice(core::Context &context);
// The partner's start or end notice arrived.
void startEndDisplay(core::Context &context, const Arrival &notice, bool started);

} // namespace protocol
