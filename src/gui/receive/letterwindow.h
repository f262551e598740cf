#pragma once

#include "base/core/context.h"
#include "base/receive/letters.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QWidget>

namespace receive {

// The letter window: the letter's text and, in its status bar, the letter's state.
class LetterWindow final : public QWidget {
    Q_OBJECT
public:
    LetterWindow(core::Context &context, Letters &letters);

    QPlainTextEdit *letter = nullptr;
    QPushButton *okButton = nullptr;
    QPushButton *cancelButton = nullptr;
    QLabel *picture = nullptr;
    QStatusBar *statusBar = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void refresh();

    core::Context &m_context;
    Letters &m_letters;
    QLabel *m_statusPanel = nullptr;
};

} // namespace receive
