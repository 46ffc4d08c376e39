#pragma once
// Small pieces the monitor's views share: a label that reports clicks and pointer
// moves, picture mirroring, and the artwork behind the logic's picture names.

#include <QLabel>
#include <QString>
#include <functional>
#include <string>

#include "platform/controls.h"

namespace tv {

// A label that passes the pointer on: clicks (press and release over it) and moves,
// in its own pixels. Other mouse events go to the window below.
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

// The artwork for a picture the logic names: its own names where the program has
// them, and the drawings made for the window icon and the mains picture.
QString artworkFor(const std::string& picture);

// Shows the named picture at size x size pixels; only reloads when the name changes.
void syncPicture(QLabel& widget, const PictureBox& picture, int size);

// The control's mouse pointer over the widget: 99 is the custom cursor resource named
// by MouseIcon, anything else the default.
void syncPointer(QWidget& widget, const Control& control);

// A label's text with the platform's line breaks made plain.
QString plainLines(const std::string& text);
// syncLabel for captions with line breaks ("\r\n").
void syncLinesLabel(QLabel& widget, const Label& label);

}  // namespace tv
