#pragma once
// The widgets behind frmPower's controls where plain Qt widgets behave differently
// from the window's controls: a label that reports clicks and pointer moves, a value
// box that can be locked against choosing, and a list that reports its mouse buttons
// and scrolls sideways exactly as far as it is told.

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <functional>

#include "platform/qt/click_label.h"
#include "runtime/controls.h"

namespace tv {

// A drop-down box with an edit field. While locked nothing can be chosen or typed:
// the list does not open and the keys and wheel that step through it do nothing.
// The list opens on the entry that matches the edit field.
class ValueCombo : public QComboBox {
  public:
    explicit ValueCombo(QWidget* parent);

    bool isLocked() const { return locked_; }
    void setLocked(bool locked);
    void showPopup() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    bool locked_ = false;
};

// A list whose sideways scroll range is the extent it is given (in pixels of content
// width, as the window's list boxes have it), not the width of its longest line.
class SettingsList : public QListWidget {
  public:
    explicit SettingsList(QWidget* parent);

    int horizontalExtent() const { return extent_; }
    void setHorizontalExtent(int pixels);

    // The window framework's button numbers: 1 left, 2 right, 4 middle.
    std::function<void(int button, int x, int y)> onMouseDown;
    std::function<void(int button, int x, int y)> onMouseUp;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void updateGeometries() override;

  private:
    int extent_ = 0;
};

// The control's mouse pointer over the widget: 99 is the custom cursor resource named
// by MouseIcon, anything else the default.

}  // namespace tv
