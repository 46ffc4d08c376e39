#pragma once
// Windows (forms) and the runtime that loads them and fires their timers, in
// virtual time for tests and the scenario runner, in real time under the views.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/controls.h"

namespace tv {

// Milliseconds on a monotonic clock. Sleep blocks the window's thread: no timer
// fires during it, overdue ones fire once afterwards.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual long long nowMs() const = 0;
    virtual void Sleep(int milliseconds) = 0;
    // Moves virtual time forward; a real clock has nothing to move.
    virtual void advanceTo(long long ms) = 0;
};

class VirtualClock : public Clock {
  public:
    long long nowMs() const override { return now_; }
    void Sleep(int milliseconds) override {
        if (onSleep) {
            onSleep(milliseconds);
        }
        now_ += milliseconds > 0 ? milliseconds : 0;
    }
    void advanceTo(long long ms) override {
        if (ms > now_) {
            now_ = ms;
        }
    }
    std::function<void(int)> onSleep;

  private:
    long long now_ = 0;
};

class FormRuntime;

inline constexpr int vbNormal = 0;
inline constexpr int vbMinimized = 1;
inline constexpr int vbMaximized = 2;

// Close requested by the window's close box (QueryUnload mode 0) or from code (1).
inline constexpr int vbFormControlMenu = 0;
inline constexpr int vbFormCode = 1;

class Form {
  public:
    Form(FormRuntime& runtime, std::string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return name_; }
    FormRuntime& runtime() const { return runtime_; }
    bool isLoaded() const { return loaded_; }

    // Controls and timers in declaration order (timers due together fire in it).
    const std::vector<Control*>& controls() const { return controls_; }
    Control* find(std::string_view name) const;
    std::vector<Timer*> timers() const;

    virtual void properties(PropertyList& out) const;
    std::optional<PropValue> property(std::string_view name) const;

    // Loads the window if needed (running Form_Load), then shows it.
    void Show();
    void Hide() { Visible = false; }
    void setWindowState(int state);

    std::string Caption;
    bool Visible = false;
    int WindowState = vbNormal;
    std::string Tag;
    std::string Icon;
    int Left = 0;
    int Top = 0;
    int Width = 0;  // pixels, outer size
    int Height = 0;

    // Mouse moves over the window's own background, in client pixels.
    std::function<void(int button, double x, double y)> onMouseMove;

  protected:
    // Event handlers; the names are those of the window framework.
    virtual void Form_Load() {}
    // Returns true to cancel the unload.
    virtual bool Form_QueryUnload(int mode) {
        (void)mode;
        return false;
    }
    virtual void Form_Unload() {}
    virtual void Form_Resize() {}

  private:
    friend class Control;
    friend class FormRuntime;
    void add(Control* control) { controls_.push_back(control); }

    FormRuntime& runtime_;
    std::string name_;
    std::vector<Control*> controls_;
    bool loaded_ = false;
};

class FormRuntime {
  public:
    explicit FormRuntime(Clock& clock) : clock_(clock) {}

    Clock& clock() const { return clock_; }

    void load(Form& form);
    // Asks QueryUnload with the mode; returns false when the unload was cancelled.
    bool unload(Form& form, int mode = vbFormCode);
    const std::vector<Form*>& loadedForms() const { return loaded_; }

    // Every window ever constructed with this runtime, loaded or not.
    Form* findForm(std::string_view name) const;
    // A window that may not exist as an object right now (it is created when loaded).
    void declareForm(std::string name) { declared_.push_back(std::move(name)); }
    bool isDeclared(std::string_view name) const;

    // Fires, in due order, every timer due at or before the time; ties fire in the
    // order of their windows' loading and then of their declaration.
    void runTimersUntil(long long ms);
    // The earliest due time of an enabled timer of a loaded window, or -1.
    long long nextDueMs() const;

    // Gives the event loop a turn (the views process pending events here).
    void DoEvents() const {
        if (doEvents_) {
            doEvents_();
        }
    }
    void setDoEvents(std::function<void()> hook) { doEvents_ = std::move(hook); }

    // Tells the views that state changed outside a user event (a timer fired).
    std::function<void()> onChanged;

  private:
    friend class Form;
    friend class Timer;
    void registerForm(Form* form) { known_.push_back(form); }
    void forgetForm(Form* form);
    Timer* nextDue(long long limit) const;

    Clock& clock_;
    std::vector<Form*> known_;
    std::vector<Form*> loaded_;
    std::vector<std::string> declared_;
    std::function<void()> doEvents_;
};

}  // namespace tv
