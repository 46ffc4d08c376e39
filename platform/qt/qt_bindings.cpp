#include "platform/qt/qt_bindings.h"

#include "platform/qt/system_colours.h"

#include <QLineEdit>
#include <QSignalBlocker>

namespace tv {

namespace {

Color fromQColor(const QColor& color) {
    return static_cast<Color>(color.red()) | (static_cast<Color>(color.green()) << 8) |
           (static_cast<Color>(color.blue()) << 16);
}

void syncCommon(QWidget& widget, const Control& control) {
    if (widget.isVisibleTo(widget.parentWidget()) != control.Visible) {
        widget.setVisible(control.Visible);
    }
    if (widget.isEnabled() != control.Enabled()) {
        widget.setEnabled(control.Enabled());
    }
    if (widget.toolTip() != qs(control.ToolTipText)) {
        widget.setToolTip(qs(control.ToolTipText));
    }
}

QStringList toStringList(const std::vector<std::string>& items) {
    QStringList out;
    out.reserve(static_cast<int>(items.size()));
    for (const auto& item : items) {
        out << qs(item);
    }
    return out;
}

}  // namespace

Color systemColor(int index, const QPalette& p) {
    std::optional<PaletteEntry> entry = paletteEntryFor(index);
    return fromQColor(entry ? p.color(entry->group, entry->role) : p.color(QPalette::Window));
}

QColor toQColor(Color color, const QPalette& palette) {
    if (color & 0x80000000u) {
        color = systemColor(static_cast<int>(color & 0xFF), palette);
    }
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

bool SyncedState::same(const Control& control, const std::string& text, Color fore, Color back,
                       bool checked) const {
    return known_ && visible_ == control.Visible && enabled_ == control.Enabled() &&
           pointer_ == control.MousePointer && fore_ == fore && back_ == back &&
           checked_ == checked && text_ == text && tip_ == control.ToolTipText &&
           pointerIcon_ == control.MouseIcon;
}

void SyncedState::take(const Control& control, const std::string& text, Color fore, Color back,
                       bool checked) {
    known_ = true;
    visible_ = control.Visible;
    enabled_ = control.Enabled();
    pointer_ = control.MousePointer;
    fore_ = fore;
    back_ = back;
    checked_ = checked;
    text_ = text;
    tip_ = control.ToolTipText;
    pointerIcon_ = control.MouseIcon;
}

bool SyncedState::changed(const Label& label) {
    if (same(label, label.Caption, label.ForeColor, label.BackColor, false)) {
        return false;
    }
    take(label, label.Caption, label.ForeColor, label.BackColor, false);
    return true;
}

bool SyncedState::changed(const PictureBox& picture) {
    if (same(picture, picture.Picture, 0, 0, false)) {
        return false;
    }
    take(picture, picture.Picture, 0, 0, false);
    return true;
}

bool SyncedState::changed(const MenuItem& item) {
    if (same(item, item.Caption, 0, 0, item.Checked)) {
        return false;
    }
    take(item, item.Caption, 0, 0, item.Checked);
    return true;
}

void syncLabel(QLabel& widget, const Label& label) {
    if (widget.text() != qs(label.Caption)) {
        widget.setText(qs(label.Caption));
    }
    QPalette palette = widget.palette();
    QColor fore = toQColor(label.ForeColor, palette);
    QColor back = toQColor(label.BackColor, palette);
    if (palette.color(QPalette::WindowText) != fore || palette.color(QPalette::Window) != back) {
        palette.setColor(QPalette::WindowText, fore);
        palette.setColor(QPalette::Window, back);
        widget.setPalette(palette);
    }
    syncCommon(widget, label);
}

void syncButton(QPushButton& widget, const Button& button) {
    if (widget.text() != qs(button.Caption)) {
        widget.setText(qs(button.Caption));
    }
    syncCommon(widget, button);
}

void syncCombo(QComboBox& widget, const ComboBox& combo) {
    QSignalBlocker blocker(widget);
    QStringList items = toStringList(combo.List());
    bool same = widget.count() == items.size();
    for (int i = 0; same && i < items.size(); ++i) {
        same = widget.itemText(i) == items[i];
    }
    if (!same) {
        widget.clear();
        widget.addItems(items);
    }
    if (widget.currentIndex() != combo.ListIndex()) {
        widget.setCurrentIndex(combo.ListIndex());
    }
    if (widget.isEditable()) {
        if (widget.currentText() != qs(combo.Text)) {
            widget.setEditText(qs(combo.Text));
        }
        if (widget.lineEdit() != nullptr) {
            widget.lineEdit()->setReadOnly(combo.Locked);
        }
    }
    syncCommon(widget, combo);
}

void syncList(QListWidget& widget, const ListBox& list) {
    QSignalBlocker blocker(widget);
    QStringList items = toStringList(list.List());
    bool same = widget.count() == items.size();
    for (int i = 0; same && i < items.size(); ++i) {
        same = widget.item(i)->text() == items[i];
    }
    if (!same) {
        widget.clear();
        widget.addItems(items);
    }
    if (widget.currentRow() != list.ListIndex()) {
        widget.setCurrentRow(list.ListIndex());
    }
    syncCommon(widget, list);
}

void syncAction(QAction& action, const MenuItem& item) {
    QSignalBlocker blocker(action);
    if (action.text() != qs(item.Caption)) {
        action.setText(qs(item.Caption));
    }
    action.setVisible(item.Visible);
    action.setEnabled(item.Enabled());
    if (action.isChecked() != item.Checked) {
        action.setCheckable(true);
        action.setChecked(item.Checked);
    }
}

void syncWindow(QWidget& widget, const Form& form) {
    if (widget.windowTitle() != qs(form.Caption)) {
        widget.setWindowTitle(qs(form.Caption));
    }
    if (form.Visible && !widget.isVisible()) {
        widget.show();
        widget.raise();
        widget.activateWindow();
    } else if (!form.Visible && widget.isVisible()) {
        widget.hide();
    }
}

void setUpWindowWidget(QWidget& widget, const std::string& name, QSize clientSize) {
    widget.setObjectName(qs(name));
    widget.setFixedSize(clientSize);
    QFont face = widget.font();
    face.setPixelSize(kWindowFontPixels);
    widget.setFont(face);
}

}  // namespace tv
