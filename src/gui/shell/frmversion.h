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
class FrmVersion final : public QWidget {
    Q_OBJECT
public:
    FrmVersion(core::Context &context, core::About &about);

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QFrame *Line1 = nullptr;
    QFrame *Line2 = nullptr;
    QLabel *Image1 = nullptr; // the picture on show
    QLabel *Image2 = nullptr; // hidden: the received frame
    QLabel *Image3 = nullptr; // hidden: the normal frame
    QLabel *ImgStart = nullptr;
    QLabel *ImgEnd = nullptr;
    QPushButton *Command1 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void refresh();

    core::About &m_about;
};

} // namespace shell
