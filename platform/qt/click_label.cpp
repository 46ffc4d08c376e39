#include "platform/qt/click_label.h"

#include <QMouseEvent>

#include "platform/qt/qt_bindings.h"
#include "resources/resources.h"
#include "runtime/strings.h"

namespace tv {

void ClickLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    bool inside = rect().contains(event->position().toPoint());
    bool click = pressed_ && event->button() == Qt::LeftButton && inside;
    pressed_ = false;
    if (click && onClick) {
        onClick();
    }
}

void ClickLabel::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) {
        QPoint at = event->position().toPoint();
        onMouseMove(at.x(), at.y());
    }
    event->accept();
}

void syncPointer(QWidget& widget, const Control& control) {
    QString wanted = control.MousePointer == 99 ? qs(control.MouseIcon) : QString();
    if (widget.property("pointer").toString() == wanted) {
        return;
    }
    widget.setProperty("pointer", wanted);
    if (wanted.isEmpty()) {
        widget.unsetCursor();
    } else {
        widget.setCursor(loadCursor(wanted.toInt()));
    }
}

}  // namespace tv
