#pragma once
// What the main window needs of its charge bar: a colour set once, a value written
// with the percentage and read back, and visibility. The Qt program adapts the real
// bar control to it.

#include "runtime/controls.h"

namespace tv {

class ChargeBar {
  public:
    virtual ~ChargeBar() = default;
    virtual void setColor(Color color) = 0;
    virtual Color color() const = 0;
    virtual void setValue(long value) = 0;
    virtual long value() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual bool visible() const = 0;
};

class SimpleChargeBar : public ChargeBar {
  public:
    void setColor(Color color) override { color_ = color; }
    Color color() const override { return color_; }
    void setValue(long value) override { value_ = value; }
    long value() const override { return value_; }
    void setVisible(bool visible) override { visible_ = visible; }
    bool visible() const override { return visible_; }

  private:
    Color color_ = 0;
    long value_ = 0;
    bool visible_ = true;
};

// The bar as a control of the window, so it prints and dumps with the others.
class ChargeBarHost : public Control {
  public:
    ChargeBarHost(Form& form, std::string name, ChargeBar& bar)
        : Control(form, std::move(name)), bar_(bar) {
        Visible = bar.visible();
    }
    void properties(PropertyList& out) const override {
        out.emplace_back("Value", static_cast<long long>(bar_.value()));
        out.emplace_back("Color", ColorValue{bar_.color()});
        Control::properties(out);
    }

    void setColor(Color color) { bar_.setColor(color); }
    void setValue(long value) { bar_.setValue(value); }
    long value() const { return bar_.value(); }
    void setVisible(bool visible) {
        Visible = visible;
        bar_.setVisible(visible);
    }

  private:
    ChargeBar& bar_;
};

}  // namespace tv
