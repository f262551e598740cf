#pragma once

#include "base/core/icons.h"
#include "base/core/options.h"
#include "base/platform/tray.h"

#include <QObject>
#include <QTimer>

namespace core {

// The copy's icon in the tray: the picture it shows, the record every tray call carries, and the
// two animations that take turns on it, the blink of a waiting message and the call. Both run on
// 500 ms timers and share one phase, so a call that comes while a message blinks changes the
// rhythm of neither.
class TrayIcon final : public QObject {
    Q_OBJECT
public:
    // A call's two frames alternate this many times, then a third picture (or one more frame) ends
    // a cycle.
    static constexpr int kCallAlternations = 10;

    TrayIcon(platform::Tray &tray, const Options &options);

    // Puts the icon into the tray, showing `picture`.
    void add(IconId picture);
    // Takes it out, and stops both animations.
    void remove();
    // Shows `picture`: the record is filled anew (icon, and the tip when tips are on) and the
    // icon modified.
    void show(IconId picture);
    // Fills the record again after the tip options changed.
    void refresh() { show(m_picture); }
    IconId picture() const { return m_picture; }
    const platform::TrayRecord &record() const { return m_record; }
    // What the last tray call returned: 1 on success.
    int lastResult() const { return m_lastResult; }

    // A message waits: the icon rests on the received picture instead of the normal one.
    void setMessageWaiting(bool waits) { m_messageWaiting = waits; }
    bool messageWaiting() const { return m_messageWaiting; }
    // The picture the icon rests on when nothing animates it.
    IconId restingPicture() const;

    // The blink of a waiting message: the received and the normal picture in turn.
    void startBlink() { m_blinkTimer.start(); }
    bool isBlinking() const { return m_blinkTimer.isActive(); }
    // The call animation; `byPerson` picks its frames (a person or a telephone), and may change
    // while it runs.
    void startCall() { m_callTimer.start(); }
    void setCallByPerson(bool byPerson) { m_callByPerson = byPerson; }
    bool isCalling() const { return m_callTimer.isActive(); }
    // The user turned to the program: the call stops (and the blink with `blinkToo`), and the icon
    // rests again.
    void stopAnimations(bool blinkToo);
    // Stops the blink without a picture change, as start-up does with the blink its window's
    // design starts.
    void stopBlink() { m_blinkTimer.stop(); }

    // One step of each animation, as their timers run them.
    void blinkStep();
    void callStep();
    int phase() const { return m_phase; }
    int callCount() const { return m_callCount; }

private:
    void fillRecord();
    int call(platform::TrayOp op);

    platform::Tray &m_tray;
    const Options &m_options;
    IconId m_picture;
    platform::TrayRecord m_record;
    int m_lastResult = 0;
    bool m_messageWaiting = false;
    QTimer m_blinkTimer;
    QTimer m_callTimer;
    bool m_callByPerson = false;
    int m_phase = 0;
    int m_callCount = 0;
    // The tip as last cut to its field: the tray changes with every message, the tip hardly ever.
    QString m_tipSource;
    QByteArray m_tipBytes;
};

} // namespace core
