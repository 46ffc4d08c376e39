#pragma once
// Pieces both programs' views need: a label that reports clicks and pointer moves,
// and the control's mouse pointer mirrored onto its widget.

#include <QLabel>
#include <functional>

#include "runtime/controls.h"

namespace tv {

// Clicks (press and release over it) and moves, in its own pixels. Other mouse
// events go to the window below.
class ClickLabel : public QLabel {
  public:
    using QLabel::QLabel;

    std::function<void()> onClick;
    std::function<void(int x, int y)> onMouseMove;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    bool pressed_ = false;
};

// The control's mouse pointer over the widget: 99 is the custom cursor resource named
// by MouseIcon, anything else the default.
void syncPointer(QWidget& widget, const Control& control);

}  // namespace tv
