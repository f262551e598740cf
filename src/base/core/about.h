#pragma once

#include "base/core/context.h"

#include <QObject>
#include <QTimer>

namespace core {

// The about box. shownPicture alternates between the two frames, receivedFrame and normalFrame.
// startPicture and endPicture are the pictures of the partner's start and end notices, kept with
// the box and never shown in it.
struct AboutView {
    QString productName = kProductName;
    QString version = QStringLiteral("Version　1.21");
    QString author = QStringLiteral("作者：ミルトアンヌ開発チーム");
    QString contact = QStringLiteral("連絡先：同梱の README.md をご覧ください");
    IconId shownPicture = IconId::normal(0);
    IconId receivedFrame = IconId::received(0);
    IconId normalFrame = IconId::normal(0);
    IconId startPicture = IconId::start();
    IconId endPicture = IconId::end();
    int phase = 0; // 1 while the picture on show is the received frame
};
class AboutWindowModel final : public ViewModel<AboutView> {
public:
    AboutWindowModel() : ViewModel(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"), IconId::normal(0))
    {
        animationTimer.setInterval(1000);
    }

    // The animation. It belongs to the loaded window, so unloading stops it for good.
    QTimer animationTimer;
};

// Opening, animating and closing the about box. The box unloads when it closes and comes back
// with its design contents.
class About final : public QObject {
    Q_OBJECT
public:
    explicit About(Context &context);

    WindowSlot<AboutWindowModel> slot;
    AboutWindowModel &window() { return slot.get(); }

    // "ﾊﾞｰｼﾞｮﾝ情報(&A)": loads the box if needed, gives it the current set and starts the animation.
    void open();
    // One step of the animation, every second while the box is open.
    void tick();
    // OK and the close box.
    void close();

private:
    Context &m_context;
};

} // namespace core
