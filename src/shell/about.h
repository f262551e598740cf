#pragma once

#include "core/context.h"

#include <QObject>
#include <QTimer>

namespace shell {

// The about box, FrmVersion. Image1 is the picture on show; Image2 (received) and Image3 (normal)
// are the two frames it alternates between. ImgStart and ImgEnd are the pictures of the partner's
// start and end notices, kept with the box and never shown in it.
struct VersionView {
    QString label1 = core::kProductName;
    QString label2 = QStringLiteral("Version　1.21");
    QString label3 = QStringLiteral("作者：ミルトアンヌ開発チーム");
    QString label4 = QStringLiteral("連絡先：同梱の README.md をご覧ください");
    core::IconId image1 = core::IconId::normal(0);
    core::IconId image2 = core::IconId::received(0);
    core::IconId image3 = core::IconId::normal(0);
    core::IconId imgStart = core::IconId::start();
    core::IconId imgEnd = core::IconId::end();
    int aboutPhase = 0; // 1 while Image1 shows the received frame
};
class VersionWindowModel final : public core::ViewModel<VersionView> {
public:
    VersionWindowModel() : ViewModel(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"), core::IconId::normal(0))
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
    explicit About(core::Context &context);

    core::WindowSlot<VersionWindowModel> versionSlot;
    VersionWindowModel &frmVersion() { return versionSlot.get(); }

    // "ﾊﾞｰｼﾞｮﾝ情報(&A)": loads the box if needed, gives it the current set and starts the animation.
    void open();
    // One step of the animation, every second while the box is open.
    void tick();
    // OK and the close box.
    void command1Click();

private:
    core::Context &m_context;
};

} // namespace shell
