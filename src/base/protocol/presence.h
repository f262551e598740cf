#pragma once

#include "base/core/context.h"
#include "base/protocol/arrival.h"

// Whether the other side runs: the presence check's answer, and the start and end notices.
namespace protocol {

// "存在確認" arrived: answer with our start time, saying whether the asker is our partner.
void answerPresence(core::Context &context, const Arrival &request);
void startNotice(core::Context &context);
void endNotice(core::Context &context);
// The partner's start or end notice arrived.
void startEndDisplay(core::Context &context, const Arrival &notice, bool started);

} // namespace protocol
