#pragma once
// Modal boxes with an OK button, titled by the caller; the input box answers empty
// text on Cancel.

#include <QWidget>

#include "runtime/dialogs.h"

namespace tv {

class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(std::function<QWidget*()> owner = {}) : owner_(std::move(owner)) {}
    void MsgBox(const std::string& prompt, int style, const std::string& title) override;
    std::string InputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;

  private:
    QWidget* owner() const { return owner_ ? owner_() : nullptr; }
    std::function<QWidget*()> owner_;
};

}  // namespace tv
