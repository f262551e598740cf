#pragma once

#include "support/testcopy.h"

#include <functional>
#include <memory>

namespace testkit {

// Alice (127.0.0.2) and Bob (127.0.0.3) on one fake network, each the other's partner, started
// at 09:05 on 2026-12-08 with the options each test gives them.
class Conversation {
public:
    using Options = std::function<void(core::Options &)>;
    explicit Conversation(const Options &aliceOptions = {}, const Options &bobOptions = {});

    FakeNetwork net;
    TestCopy alice{net, QStringLiteral("127.0.0.2")};
    TestCopy bob{net, QStringLiteral("127.0.0.3")};

    // Starts Carol (127.0.0.4), a third copy with Bob as her partner, under `userName`: a
    // stranger to Bob, whose partner is Alice. She lives as long as the conversation.
    TestCopy &strangerToBob(const QString &userName = QStringLiteral("carol"));
    std::unique_ptr<TestCopy> stranger;

    // Types `text` into the compose window of `from`, presses send, and lets the network settle.
    static void send(FakeNetwork &net, TestCopy &from, const QString &text);
    void aliceSends(const QString &text) { send(net, alice, text); }
    // Writes `text` into the reply box of `from`'s received-message window.
    static void typeReply(TestCopy &from, const QString &text);
};

} // namespace testkit
