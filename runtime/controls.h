#pragma once
// Plain control state of the windows. The window logic reads and writes these
// fields; a view mirrors them and forwards the user's events through the on* hooks.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "runtime/color.h"

namespace tv {

class Form;

inline constexpr Color kGreen = 0x008000;
inline constexpr Color kRed = 0x0000FF;
inline constexpr Color kBlue = 0xFF0000;
inline constexpr Color kSysWindow = 0x80000005;
inline constexpr Color kSysWindowText = 0x80000008;
inline constexpr Color kSysButtonFace = 0x8000000F;
inline constexpr Color kSysButtonText = 0x80000012;

struct ColorValue {
    Color value;
    bool operator==(const ColorValue&) const = default;
};

using PropValue = std::variant<std::string, bool, long long, ColorValue>;
using PropertyList = std::vector<std::pair<std::string, PropValue>>;

// "TEXT" quoted, True/False, decimal numbers, colours as &H and six or more hex digits.
std::string formatProperty(const PropValue& value);
std::optional<PropValue> findProperty(const PropertyList& list, std::string_view name);

class Control {
  public:
    Control(Form& form, std::string name);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }
    Form& form() const { return form_; }

    virtual void properties(PropertyList& out) const;
    std::optional<PropValue> property(std::string_view name) const;

    void click() const;
    void mouseMove(int button, double x, double y) const;
    void mouseDown(int button, double x, double y) const;
    void mouseUp(int button, double x, double y) const;

    // Enabled is read and set through calls, because a timer must act on the change.
    bool Enabled() const { return enabled_; }
    virtual void setEnabled(bool enabled) { enabled_ = enabled; }

    bool Visible = true;
    std::string Tag;
    std::string ToolTipText;
    int MousePointer = 0;  // 0 default, 99 custom (MouseIcon)
    std::string MouseIcon;

    std::function<void()> onClick;
    std::function<void(int button, double x, double y)> onMouseMove;
    std::function<void(int button, double x, double y)> onMouseDown;
    std::function<void(int button, double x, double y)> onMouseUp;

  protected:
    bool enabled_ = true;

  private:
    Form& form_;
    std::string name_;
};

class Label : public Control {
  public:
    Label(Form& form, std::string name, std::string caption = {});
    void properties(PropertyList& out) const override;

    std::string Caption;
    Color ForeColor = kSysButtonText;
    Color BackColor = kSysButtonFace;
};

class Button : public Control {
  public:
    Button(Form& form, std::string name, std::string caption = {});
    void properties(PropertyList& out) const override;

    std::string Caption;
};

class TextBox : public Control {
  public:
    TextBox(Form& form, std::string name, std::string text = {});
    void properties(PropertyList& out) const override;

    std::string Text;
};

// A picture box or image: shows one picture, named by its resource.
class PictureBox : public Control {
  public:
    PictureBox(Form& form, std::string name, std::string picture = {});
    void properties(PropertyList& out) const override;

    std::string Picture;
};

class Shape : public Control {
  public:
    Shape(Form& form, std::string name);
};

class MenuItem : public Control {
  public:
    MenuItem(Form& form, std::string name, std::string caption);
    void properties(PropertyList& out) const override;

    std::string Caption;
    bool Checked = false;
};

// Entries with a selected index. Choosing an index by program raises the click
// event at once, as the user's choice does.
class ListControl : public Control {
  public:
    ListControl(Form& form, std::string name);
    void properties(PropertyList& out) const override;

    const std::vector<std::string>& List() const { return list_; }
    int ListCount() const { return static_cast<int>(list_.size()); }
    int ListIndex() const { return listIndex_; }
    void setListIndex(int index);
    void AddItem(std::string item);
    void RemoveItem(int index);
    virtual void Clear();

  protected:
    virtual void selected(int index) { (void)index; }

  private:
    std::vector<std::string> list_;
    int listIndex_ = -1;
};

class ListBox : public ListControl {
  public:
    ListBox(Form& form, std::string name);
    void properties(PropertyList& out) const override;

    int HorizontalExtent = 0;  // pixels; the list scrolls sideways past its width
};

class ComboBox : public ListControl {
  public:
    ComboBox(Form& form, std::string name);
    void properties(PropertyList& out) const override;
    void Clear() override;

    std::string Text;
    bool Locked = false;

  protected:
    void selected(int index) override;
};

class Timer : public Control {
  public:
    Timer(Form& form, std::string name, int interval, bool enabled);
    void properties(PropertyList& out) const override;

    int Interval() const { return interval_; }
    void setInterval(int milliseconds);
    // A timer enabled at time t first fires at t + Interval; a disabled one never fires.
    void setEnabled(bool enabled) override;

    std::function<void()> onTimer;

  private:
    friend class FormRuntime;
    int interval_;
    long long dueMs_ = 0;
};

}  // namespace tv
