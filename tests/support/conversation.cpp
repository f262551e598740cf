#include "support/conversation.h"

namespace testkit {

Conversation::Conversation(const Options &aliceOptions, const Options &bobOptions)
{
    auto setUp = [](TestCopy &copy, const QString &name, const QString &partner, const Options &options) {
        copy.writePartner(name == u"alice" ? QStringLiteral("ぼぶ") : QStringLiteral("ありす"), partner);
        copy.writeOptions([&](core::Options &opt) {
            opt.userName = name;
            if (options)
                options(opt);
        });
        if (!copy.start())
            qFatal("copy did not start");
    };
    setUp(alice, QStringLiteral("alice"), bob.address(), aliceOptions);
    setUp(bob, QStringLiteral("bob"), alice.address(), bobOptions);
    net.flush();
    net.clearLog();
}

TestCopy &Conversation::strangerToBob(const QString &userName)
{
    stranger = std::make_unique<TestCopy>(net, QStringLiteral("127.0.0.4"));
    stranger->writePartner(QStringLiteral("bob"), bob.address());
    stranger->writeOptions([&](core::Options &opt) { opt.userName = userName; });
    if (!stranger->start())
        qFatal("copy did not start");
    return *stranger;
}

void Conversation::send(FakeNetwork &net, TestCopy &from, const QString &text)
{
    from.copy->compose().open();
    from.compose().window().edit([&](send::ComposeView &v) { v.message = text; });
    from.copy->compose().send();
    net.flush();
}

void Conversation::typeReply(TestCopy &from, const QString &text)
{
    from.receivedWindow().edit([&](receive::ReceivedView &v) { v.reply = text; });
}

} // namespace testkit
