#pragma once

#include <QPushButton>
#include <QWidget>

namespace kit {

// Makes `button` the default button of `scope` (a window, or a page of one): Enter typed anywhere
// in it presses the button, unless the control with the focus takes Enter itself (a multi-line box
// for its line break, a scope nearer to the focus for its own default); on another button of the
// scope, Enter presses that one, as in a dialog. Our windows are plain
// widgets, where Qt gives Enter to no button of its own accord.
void pressWithEnter(QWidget &scope, QPushButton &button);
// For a window without a default button: Enter on a button that has the focus presses it.
void pressFocusedWithEnter(QWidget &scope);

} // namespace kit
