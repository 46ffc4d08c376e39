#include "monitor/qt/qt_charge_bar.h"

#include "progressbar/saved_form.h"

namespace tv {

QtChargeBar::QtChargeBar() : widget_(std::make_unique<ProgressBarWidget>(xpProgressBar1Form())) {}

QtChargeBar::~QtChargeBar() = default;

void QtChargeBar::setColor(Color color) {
    widget_->bar().setColor(color);
}

Color QtChargeBar::color() const {
    return widget_->bar().Color();
}

void QtChargeBar::setValue(long value) {
    // The refresh writes the percentage every 5 s; an unchanged value would redraw the
    // same bar, which is most of the monitor's idle work.
    if (value == this->value()) {
        return;
    }
    widget_->bar().setValue(static_cast<std::int32_t>(value));
}

long QtChargeBar::value() const {
    return widget_->bar().Value();
}

}  // namespace tv
