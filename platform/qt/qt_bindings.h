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

// What a label, picture or menu item held when its widget was last brought up to date.
// A view compares this, in its own memory, before asking the widget anything: on an
// idle refresh nothing changed, and reading every widget back was most of its cost.
class SyncedState {
  public:
    // True when the control differs from the last sync (or there was none); the
    // control's state is then taken as synced.
    bool changed(const Label& label);
    bool changed(const PictureBox& picture);
    bool changed(const MenuItem& item);
    // The widget may have moved on its own (a checkable action clicked) or the palette
    // behind system colours changed: the next sync compares with the widget again.
    void forget() { known_ = false; }

  private:
    bool same(const Control& control, const std::string& text, Color fore, Color back,
              bool checked) const;
    void take(const Control& control, const std::string& text, Color fore, Color back,
              bool checked);

    bool known_ = false;
    std::string text_;
    std::string tip_;
    std::string pointerIcon_;
    Color fore_ = 0;
    Color back_ = 0;
    int pointer_ = 0;
    bool visible_ = false;
    bool enabled_ = false;
    bool checked_ = false;
};

void syncLabel(QLabel& widget, const Label& label);
void syncButton(QPushButton& widget, const Button& button);
void syncCombo(QComboBox& widget, const ComboBox& combo);
void syncList(QListWidget& widget, const ListBox& list);
void syncAction(QAction& action, const MenuItem& item);
// A window's title and visibility; a window the logic shows comes to the front.
void syncWindow(QWidget& widget, const Form& form);
// The widget of a window: named after it, of its fixed client size, in the windows'
// font size.
void setUpWindowWidget(QWidget& widget, const std::string& name, QSize clientSize);

}  // namespace tv
