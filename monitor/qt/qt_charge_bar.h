#pragma once
// The main window's charge bar: the real progress bar control in its Qt host, loaded
// from the window's saved form. The logic writes to it before any window exists, so
// the widget waits unparented until the main window's view adopts it; visibility is
// only recorded here and mirrored by that view, which hands the widget back when it
// goes.

#include <memory>

#include "monitor/charge_bar.h"
#include "progressbar/qt/progressbar_widget.h"

namespace tv {

class QtChargeBar : public ChargeBar {
  public:
    QtChargeBar();
    ~QtChargeBar() override;

    void setColor(Color color) override;
    Color color() const override;
    void setValue(long value) override;
    long value() const override;
    void setVisible(bool visible) override { visible_ = visible; }
    bool visible() const override { return visible_; }

    ProgressBarWidget& widget() { return *widget_; }

  private:
    std::unique_ptr<ProgressBarWidget> widget_;
    bool visible_ = true;
};

}  // namespace tv
