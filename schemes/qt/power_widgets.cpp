#include "schemes/qt/power_widgets.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "platform/qt/qt_bindings.h"
#include "resources/resources.h"

namespace tv {

namespace {

int frameworkButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

}  // namespace

ValueCombo::ValueCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    // What is typed is only the box's text; it never becomes a new entry.
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
}

void ValueCombo::setLocked(bool locked) {
    locked_ = locked;
    lineEdit()->setReadOnly(locked);
    if (locked) {
        hidePopup();
    }
}

void ValueCombo::showPopup() {
    if (locked_) {
        return;
    }
    QComboBox::showPopup();
    // The list opens on the entry the edit field shows, as a drop-down with an edit
    // field does; the box's text is often set without choosing an entry.
    int row = findText(currentText());
    if (row >= 0 && row != currentIndex()) {
        QModelIndex entry = model()->index(row, modelColumn(), rootModelIndex());
        view()->setCurrentIndex(entry);
        view()->scrollTo(entry, QAbstractItemView::PositionAtCenter);
    }
}

void ValueCombo::keyPressEvent(QKeyEvent* event) {
    static constexpr int kSteppingKeys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp,
                                            Qt::Key_PageDown, Qt::Key_F4};
    if (locked_ && std::find(std::begin(kSteppingKeys), std::end(kSteppingKeys), event->key()) !=
                       std::end(kSteppingKeys)) {
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void ValueCombo::wheelEvent(QWheelEvent* event) {
    if (locked_) {
        event->accept();
        return;
    }
    QComboBox::wheelEvent(event);
}

SettingsList::SettingsList(QWidget* parent) : QListWidget(parent) {
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void SettingsList::setHorizontalExtent(int pixels) {
    if (pixels != extent_) {
        extent_ = pixels;
        updateGeometries();
    }
}

void SettingsList::mousePressEvent(QMouseEvent* event) {
    if (onMouseDown) {
        QPoint at = event->position().toPoint();
        onMouseDown(frameworkButton(event->button()), at.x(), at.y());
    }
    QListWidget::mousePressEvent(event);
}

void SettingsList::mouseReleaseEvent(QMouseEvent* event) {
    QListWidget::mouseReleaseEvent(event);
    if (onMouseUp) {
        QPoint at = event->position().toPoint();
        onMouseUp(frameworkButton(event->button()), at.x(), at.y());
    }
}

void SettingsList::updateGeometries() {
    QListWidget::updateGeometries();
    QScrollBar& bar = *horizontalScrollBar();
    int page = viewport()->width();
    bar.setPageStep(page);
    bar.setRange(0, std::max(0, extent_ - page));
}

}  // namespace tv
