#include "platform/qt/artwork.h"

#include "platform/qt/qt_bindings.h"
#include "resources/resources.h"
#include "runtime/strings.h"

namespace tv {

QString artworkFor(const std::string& picture) {
    if (equalsIgnoreCase(picture, "window")) {
        return QStringLiteral("TOLVANE");
    }
    if (equalsIgnoreCase(picture, "CHARGING")) {
        return QStringLiteral("MAINS");
    }
    if (equalsIgnoreCase(picture, "information")) {
        return QStringLiteral("INFO");
    }
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
    if (widget.toolTip() != qs(picture.ToolTipText)) {
        widget.setToolTip(qs(picture.ToolTipText));
    }
}

}  // namespace tv
