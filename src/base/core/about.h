#pragma once

#include "base/core/context.h"

#include <QObject>
#include <QTimer>

namespace core {

// The about box, FrmVersion. Image1 is the picture on show; Image2 (received) and Image3 (normal)
// are the two frames it alternates between. ImgStart and ImgEnd are the pictures of the partner's
// start and end notices, kept with the box and never shown in it.
struct VersionView {
    QString label1 = kProductName;
    QString label2 = QStringLiteral("Version　1.21");
    QString label3 = QStringLiteral("作者：ミルトアンヌ開発チーム");
    QString label4 = QStringLiteral("連絡先：同梱の README.md をご覧ください");
    IconId image1 = IconId::normal(0);
    IconId image2 = IconId::received(0);
    IconId image3 = IconId::normal(0);
    IconId imgStart = IconId::start();
    IconId imgEnd = IconId::end();
    int aboutPhase = 0; // 1 while Image1 shows the received frame
};
class VersionWindowModel final : public ViewModel<VersionView> {
public:
    VersionWindowModel() : ViewModel(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"), IconId::normal(0))
    {
        Timer1.setInterval(1000);
    }

    // The animation. It belongs to the loaded window, so unloading stops it for good.
    QTimer Timer1;
};

// Opening, animating and closing the about box. The box unloads when it closes and comes back
// with its design contents.
class About final : public QObject {
    Q_OBJECT
public:
    explicit About(Context &context);

    WindowSlot<VersionWindowModel> versionSlot;
    VersionWindowModel &frmVersion() { return versionSlot.get(); }

    // "ﾊﾞｰｼﾞｮﾝ情報(&A)": loads the box if needed, gives it the current set and starts the animation.
    void open();
    // One step of the animation, every second while the box is open.
    void tick();
    // OK and the close box.
    void command1Click();

private:
    Context &m_context;
};

} // namespace core
