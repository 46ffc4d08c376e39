#pragma once
// Mirrors control state into Qt widgets. Each sync only writes what changed, with
// the widget's signals blocked, so mirroring never raises events back into the logic.

#include <QAction>
#include <QColor>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QString>

#include "runtime/controls.h"
#include "runtime/forms.h"

namespace tv {

inline QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// A system colour index (5 window, 8 window text, 13 highlight, 15 button face, 18
// button text, ...) from the desktop's palette, as a colour value (red lowest).
Color systemColor(int index, const QPalette& palette);
// A colour value, system colours resolved through the palette.
QColor toQColor(Color color, const QPalette& palette);

void syncLabel(QLabel& widget, const Label& label);
void syncButton(QPushButton& widget, const Button& button);
void syncCombo(QComboBox& widget, const ComboBox& combo);
void syncList(QListWidget& widget, const ListBox& list);
void syncAction(QAction& action, const MenuItem& item);
// A window's title and visibility; a window the logic shows comes to the front.
void syncWindow(QWidget& widget, const Form& form);

}  // namespace tv
