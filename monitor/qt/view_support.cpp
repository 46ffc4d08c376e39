#include "monitor/qt/view_support.h"

#include <QMouseEvent>

#include "platform/numbers.h"
#include "platform/qt/qt_bindings.h"
#include "resources/resources.h"

namespace tv {

QString artworkFor(const std::string& picture) {
    if (equalsIgnoreCase(picture, "window")) {
        return QStringLiteral("TOLVANE");
    }
    if (equalsIgnoreCase(picture, "CHARGING")) {
        return QStringLiteral("MAINS");
    }
    // Resource names are matched without regard to case.
    return qs(picture).toUpper();
}

void syncPicture(QLabel& widget, const PictureBox& picture, int size) {
    QString name = artworkFor(picture.Picture);
    if (widget.property("art").toString() != name) {
        widget.setProperty("art", name);
        widget.setPixmap(name.isEmpty()
                             ? QPixmap()
                             : loadPicture(name.toStdString(), size, widget.devicePixelRatioF()));
    }
    if (widget.isVisibleTo(widget.parentWidget()) != picture.Visible) {
        widget.setVisible(picture.Visible);
    }
}

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
