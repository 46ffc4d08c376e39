#include "runtime/forms.h"

#include <algorithm>
#include <limits>

namespace tv {

Form::Form(FormRuntime& runtime, std::string name) : runtime_(runtime), name_(std::move(name)) {
    runtime_.registerForm(this);
}

Form::~Form() {
    runtime_.forgetForm(this);
}

Control* Form::find(std::string_view name) const {
    for (Control* control : controls_) {
        if (control->name() == name) {
            return control;
        }
    }
    return nullptr;
}

std::vector<Timer*> Form::timers() const {
    std::vector<Timer*> out;
    for (Control* control : controls_) {
        if (auto* timer = dynamic_cast<Timer*>(control)) {
            out.push_back(timer);
        }
    }
    return out;
}

void Form::properties(PropertyList& out) const {
    out.emplace_back("Caption", Caption);
    out.emplace_back("Visible", Visible);
    out.emplace_back("WindowState", static_cast<long long>(WindowState));
    out.emplace_back("Tag", Tag);
}

std::optional<PropValue> Form::property(std::string_view name) const {
    PropertyList all;
    properties(all);
    return findProperty(all, name);
}

void Form::Show() {
    if (!loaded_) {
        runtime_.load(*this);
    }
    if (loaded_) {
        Visible = true;
    }
}

void Form::setWindowState(int state) {
    WindowState = state;
    Form_Resize();
}

void FormRuntime::load(Form& form) {
    if (form.loaded_) {
        return;
    }
    form.loaded_ = true;
    loaded_.push_back(&form);
    form.Form_Load();
}

bool FormRuntime::unload(Form& form, int mode) {
    if (!form.loaded_) {
        return true;
    }
    if (form.Form_QueryUnload(mode)) {
        return false;
    }
    form.Form_Unload();
    form.loaded_ = false;
    form.Visible = false;
    loaded_.erase(std::remove(loaded_.begin(), loaded_.end(), &form), loaded_.end());
    return true;
}

Form* FormRuntime::findForm(std::string_view name) const {
    for (Form* form : known_) {
        if (form->name() == name) {
            return form;
        }
    }
    return nullptr;
}

bool FormRuntime::isDeclared(std::string_view name) const {
    return findForm(name) != nullptr ||
           std::find(declared_.begin(), declared_.end(), name) != declared_.end();
}

void FormRuntime::forgetForm(Form* form) {
    known_.erase(std::remove(known_.begin(), known_.end(), form), known_.end());
    loaded_.erase(std::remove(loaded_.begin(), loaded_.end(), form), loaded_.end());
}

Timer* FormRuntime::nextDue(long long limit) const {
    Timer* best = nullptr;
    for (Form* form : loaded_) {
        for (Control* control : form->controls()) {
            auto* timer = dynamic_cast<Timer*>(control);
            if (timer == nullptr || !timer->enabled_ || timer->interval_ <= 0 ||
                timer->dueMs_ > limit) {
                continue;
            }
            if (best == nullptr || timer->dueMs_ < best->dueMs_) {
                best = timer;
            }
        }
    }
    return best;
}

long long FormRuntime::nextDueMs() const {
    Timer* timer = nextDue(std::numeric_limits<long long>::max());
    return timer ? timer->dueMs_ : -1;
}

void FormRuntime::runTimersUntil(long long ms) {
    while (Timer* timer = nextDue(ms)) {
        clock_.advanceTo(timer->dueMs_);
        // A late tick is delivered once, as the platform coalesces timer messages.
        timer->dueMs_ += timer->interval_;
        if (timer->dueMs_ <= clock_.nowMs()) {
            timer->dueMs_ = clock_.nowMs() + timer->interval_;
        }
        if (timer->onTimer) {
            timer->onTimer();
        }
        if (onChanged) {
            onChanged();
        }
    }
    clock_.advanceTo(ms);
}

}  // namespace tv
