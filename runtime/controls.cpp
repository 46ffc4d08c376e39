#include "runtime/controls.h"

#include <cstdio>

#include "runtime/call_log.h"
#include "runtime/forms.h"

namespace tv {

std::string formatProperty(const PropValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        return quoteText(*text);
    }
    if (const auto* flag = std::get_if<bool>(&value)) {
        return *flag ? "True" : "False";
    }
    if (const auto* number = std::get_if<long long>(&value)) {
        return std::to_string(*number);
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "&H%06X", std::get<ColorValue>(value).value);
    return buffer;
}

Control::Control(Form& form, std::string name) : form_(form), name_(std::move(name)) {
    form.add(this);
}

void Control::properties(PropertyList& out) const {
    out.emplace_back("Visible", Visible);
    out.emplace_back("Enabled", enabled_);
    out.emplace_back("Tag", Tag);
}

std::optional<PropValue> findProperty(const PropertyList& list, std::string_view name) {
    for (const auto& [key, value] : list) {
        if (key == name) {
            return value;
        }
    }
    return std::nullopt;
}

std::optional<PropValue> Control::property(std::string_view name) const {
    PropertyList all;
    properties(all);
    return findProperty(all, name);
}

void Control::click() const {
    if (onClick) {
        onClick();
    }
}

void Control::mouseMove(int button, double x, double y) const {
    if (onMouseMove) {
        onMouseMove(button, x, y);
    }
}

void Control::mouseDown(int button, double x, double y) const {
    if (onMouseDown) {
        onMouseDown(button, x, y);
    }
}

void Control::mouseUp(int button, double x, double y) const {
    if (onMouseUp) {
        onMouseUp(button, x, y);
    }
}

Label::Label(Form& form, std::string name, std::string caption)
    : Control(form, std::move(name)), Caption(std::move(caption)) {}

void Label::properties(PropertyList& out) const {
    out.emplace_back("Caption", Caption);
    Control::properties(out);
    out.emplace_back("ForeColor", ColorValue{ForeColor});
    out.emplace_back("BackColor", ColorValue{BackColor});
    if (MousePointer != 0) {
        out.emplace_back("MousePointer", static_cast<long long>(MousePointer));
    }
}

Button::Button(Form& form, std::string name, std::string caption)
    : Control(form, std::move(name)), Caption(std::move(caption)) {}

void Button::properties(PropertyList& out) const {
    out.emplace_back("Caption", Caption);
    Control::properties(out);
}

TextBox::TextBox(Form& form, std::string name, std::string text)
    : Control(form, std::move(name)), Text(std::move(text)) {}

void TextBox::properties(PropertyList& out) const {
    out.emplace_back("Text", Text);
    Control::properties(out);
}

PictureBox::PictureBox(Form& form, std::string name, std::string picture)
    : Control(form, std::move(name)), Picture(std::move(picture)) {}

void PictureBox::properties(PropertyList& out) const {
    out.emplace_back("Picture", Picture);
    Control::properties(out);
}

Shape::Shape(Form& form, std::string name) : Control(form, std::move(name)) {}

MenuItem::MenuItem(Form& form, std::string name, std::string caption)
    : Control(form, std::move(name)), Caption(std::move(caption)) {}

void MenuItem::properties(PropertyList& out) const {
    out.emplace_back("Caption", Caption);
    Control::properties(out);
    out.emplace_back("Checked", Checked);
}

ListControl::ListControl(Form& form, std::string name) : Control(form, std::move(name)) {}

void ListControl::properties(PropertyList& out) const {
    out.emplace_back("ListCount", static_cast<long long>(list_.size()));
    out.emplace_back("ListIndex", static_cast<long long>(listIndex_));
    for (size_t i = 0; i < list_.size(); ++i) {
        out.emplace_back("List(" + std::to_string(i) + ")", list_[i]);
    }
    Control::properties(out);
}

void ListControl::setListIndex(int index) {
    if (index < -1 || index >= ListCount()) {
        return;
    }
    listIndex_ = index;
    if (index >= 0) {
        selected(index);
        click();
    }
}

void ListControl::AddItem(std::string item) {
    list_.push_back(std::move(item));
}

void ListControl::RemoveItem(int index) {
    if (index < 0 || index >= ListCount()) {
        return;
    }
    list_.erase(list_.begin() + index);
    if (listIndex_ == index) {
        listIndex_ = -1;
    } else if (listIndex_ > index) {
        --listIndex_;
    }
}

void ListControl::Clear() {
    list_.clear();
    listIndex_ = -1;
}

ListBox::ListBox(Form& form, std::string name) : ListControl(form, std::move(name)) {}

void ListBox::properties(PropertyList& out) const {
    ListControl::properties(out);
    out.emplace_back("HorizontalExtent", static_cast<long long>(HorizontalExtent));
}

ComboBox::ComboBox(Form& form, std::string name) : ListControl(form, std::move(name)) {}

void ComboBox::properties(PropertyList& out) const {
    out.emplace_back("Text", Text);
    ListControl::properties(out);
    out.emplace_back("Locked", Locked);
}

void ComboBox::Clear() {
    ListControl::Clear();
    Text.clear();
}

void ComboBox::selected(int index) {
    Text = List()[static_cast<size_t>(index)];
}

Timer::Timer(Form& form, std::string name, int interval, bool enabled)
    : Control(form, std::move(name)), interval_(interval) {
    enabled_ = false;
    setEnabled(enabled);
}

void Timer::properties(PropertyList& out) const {
    out.emplace_back("Enabled", enabled_);
    out.emplace_back("Interval", static_cast<long long>(interval_));
}

void Timer::setInterval(int milliseconds) {
    interval_ = milliseconds;
    if (enabled_) {
        dueMs_ = form().runtime().clock().nowMs() + interval_;
    }
}

void Timer::setEnabled(bool enabled) {
    if (enabled && !enabled_) {
        dueMs_ = form().runtime().clock().nowMs() + interval_;
    }
    enabled_ = enabled;
}

}  // namespace tv
