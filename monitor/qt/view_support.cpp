#include "monitor/qt/view_support.h"

#include <QMouseEvent>

#include "platform/qt/qt_bindings.h"
#include "runtime/numbers.h"

namespace tv {

QString plainLines(const std::string& text) {
    QString out = qs(text);
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return out;
}

void syncLinesLabel(QLabel& widget, const Label& label) {
    QString text = plainLines(label.Caption);
    if (widget.text() != text) {
        widget.setText(text);
    }
    QPalette palette = widget.palette();
    QColor fore = toQColor(label.ForeColor, palette);
    if (palette.color(QPalette::WindowText) != fore) {
        palette.setColor(QPalette::WindowText, fore);
        widget.setPalette(palette);
    }
    if (widget.isVisibleTo(widget.parentWidget()) != label.Visible) {
        widget.setVisible(label.Visible);
    }
}

}  // namespace tv
