#pragma once
// Message boxes are modal and the refresh keeps running behind them, so a box that a
// refresh raises anew every 5 seconds would pile up. This passes each box on once
// while the same text keeps coming; a round without it lets it through again.

#include <set>
#include <string>

#include "runtime/dialogs.h"

namespace tv {

class RepeatGuardDialogs : public Dialogs {
  public:
    explicit RepeatGuardDialogs(Dialogs& inner) : inner_(inner) {}

    void MsgBox(const std::string& prompt, int style, const std::string& title) override {
        seenThisRound_.insert(prompt);
        if (shown_.insert(prompt).second) {
            inner_.MsgBox(prompt, style, title);
        }
    }
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override {
        return inner_.InputBox(prompt, title, defaultText);
    }

    // A round is one refresh's worth of lookups; boxes not asked for again in it are
    // forgotten, so their cause coming back shows them again.
    void beginRound() { seenThisRound_.clear(); }
    void endRound() { shown_ = seenThisRound_; }

  private:
    Dialogs& inner_;
    std::set<std::string> shown_;
    std::set<std::string> seenThisRound_;
};

}  // namespace tv
