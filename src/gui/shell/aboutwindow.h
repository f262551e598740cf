#pragma once

#include "base/core/about.h"
#include "base/core/context.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace shell {

// The about box: the product, its version and its author beside the set's picture, which changes
// between the normal and the received picture every second. It unloads when it closes.
class AboutWindow final : public QWidget {
    Q_OBJECT
public:
    AboutWindow(core::Context &context, core::About &about);

    QLabel *productLabel = nullptr;
    QLabel *versionLabel = nullptr;
    QLabel *authorLabel = nullptr;
    QLabel *contactLabel = nullptr;
    QFrame *upperLine = nullptr;
    QFrame *lowerLine = nullptr;
    QLabel *shownPicture = nullptr;  // the picture on show
    QLabel *receivedFrame = nullptr; // hidden: the received frame
    QLabel *normalFrame = nullptr;   // hidden: the normal frame
    QLabel *startPicture = nullptr;
    QLabel *endPicture = nullptr;
    QPushButton *okButton = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void refresh();

    core::About &m_about;
};

} // namespace shell
