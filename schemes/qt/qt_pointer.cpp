#include "schemes/qt/qt_pointer.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace tv {

namespace {

void sendButton(QWidget& target, QEvent::Type type, const QPoint& global) {
    QPointF local = target.mapFromGlobal(QPointF(global));
    Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, local, QPointF(global), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(&target, &event);
}

}  // namespace

bool QtPointer::desktopAllowsReplay() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

bool QtPointer::GetCursorPos(POINTAPI& point) {
    QPoint at = QCursor::pos();
    point.x = at.x();
    point.y = at.y();
    return true;
}

bool QtPointer::SetCursorPos(int x, int y) {
    if (!replay_) {
        return false;
    }
    QCursor::setPos(x, y);
    return true;
}

void QtPointer::mouse_event(std::uint32_t flags, int, int, int) {
    if (!replay_) {
        return;
    }
    QPoint global = QCursor::pos();
    QPointer<QWidget> target = QApplication::widgetAt(global);
    if (!target) {
        return;  // not over one of our windows
    }
    // An injected click waits in the input queue until the handler that sent it is
    // done, so it is delivered from the event loop, not from inside the handler.
    QTimer::singleShot(0, target, [target, global, flags] {
        if (target && (flags & MOUSEEVENTF_LEFTDOWN) != 0) {
            sendButton(*target, QEvent::MouseButtonPress, global);
        }
        if (target && (flags & MOUSEEVENTF_LEFTUP) != 0) {
            sendButton(*target, QEvent::MouseButtonRelease, global);
        }
    });
}

}  // namespace tv
