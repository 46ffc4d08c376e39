#include "progressbar/qt/progressbar_widget.h"

#include <QPainter>
#include <QResizeEvent>

#include "progressbar/qt/palette_colours.h"
#include "progressbar/saved_form.h"

namespace tv {

namespace {

QSize savedSize(const PropertyBag& form) {
    Size size = savedExtentPixels(form);
    return size.width > 0 && size.height > 0 ? QSize(size.width, size.height) : QSize(385, 25);
}

}  // namespace

ProgressBarWidget::ProgressBarWidget(QSize size, QWidget* parent)
    : QWidget(parent), colours_(sysColorsFromPalette(palette())), gdi_(colours_, text_) {
    // A redraw outside a paint (a new Value, say) reaches the surface at once; the screen
    // follows at the next paint.
    window_ = gdi_.createWindow(size.width(), size.height(), [this] {
        if (!painting_) {
            update();
        }
    });
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(size);
    bar_ = std::make_unique<XP_ProgressBar>(static_cast<ControlHost&>(*this), gdi_);
}

ProgressBarWidget::ProgressBarWidget(const PropertyBag& savedForm, QWidget* parent)
    : ProgressBarWidget(savedSize(savedForm), parent) {
    bar_->UserControl_ReadProperties(savedForm);
}

ProgressBarWidget::~ProgressBarWidget() {
    bar_.reset();
    gdi_.destroyWindow(window_);
}

QImage ProgressBarWidget::frame() const {
    const Bitmap& surface = *gdi_.windowSurface(window_);
    QImage image(surface.width, surface.height, QImage::Format_RGB32);
    for (int y = 0; y < surface.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < surface.width; ++x) {
            Color c = surface.at(x, y);
            line[x] = qRgb(redOf(c), greenOf(c), blueOf(c));
        }
    }
    return image;
}

QSize ProgressBarWidget::sizeHint() const {
    const Bitmap& surface = *gdi_.windowSurface(window_);
    return {surface.width, surface.height};
}

void ProgressBarWidget::paintEvent(QPaintEvent*) {
    painting_ = true;
    bar_->UserControl_Paint();
    painting_ = false;
    QPainter painter(this);
    painter.drawImage(0, 0, frame());
}

void ProgressBarWidget::resizeEvent(QResizeEvent* event) {
    gdi_.resizeWindow(window_, event->size().width(), event->size().height(), backColor_);
    if (bar_) {
        bar_->UserControl_Resize();
    }
}

void ProgressBarWidget::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) {
        colours_ = sysColorsFromPalette(palette());
        update();
    }
    QWidget::changeEvent(event);
}

double ProgressBarWidget::scaleWidth() const {
    return gdi_.windowSurface(window_)->width;
}

double ProgressBarWidget::scaleHeight() const {
    return gdi_.windowSurface(window_)->height;
}

void ProgressBarWidget::setBackColor(Color colour) {
    backColor_ = colour & 0xFFFFFF;
    Rect client;
    gdi_.getClientRect(window_, client);
    gdi_.resizeWindow(window_, 0, 0, backColor_);
    gdi_.resizeWindow(window_, client.right, client.bottom, backColor_);
    update();
}

void ProgressBarWidget::propertyChanged(std::string_view name) {
    emit barPropertyChanged(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

}  // namespace tv
