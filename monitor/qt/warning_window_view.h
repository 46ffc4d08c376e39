#pragma once
// The low-battery warning window: 291 x 167, a blinking red headline, the icon, the
// three-line red message and an "OK" label framed like a button. Modeless; the logic
// brings it to the front.

#include <QFrame>
#include <QWidget>
#include <functional>

#include "monitor/frm_warning.h"
#include "monitor/qt/view_support.h"

namespace tv {

class WarningWindowView : public QWidget {
  public:
    WarningWindowView(frmWarning& form, std::function<void()> afterEvent);

    frmWarning& form() const { return form_; }
    void sync();

    QLabel& headline() const { return *headline_; }
    QLabel& message() const { return *message_; }
    QLabel& icon() const { return *icon_; }
    ClickLabel& okLabel() const { return *ok_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    frmWarning& form_;
    std::function<void()> afterEvent_;
    QLabel* headline_;
    QLabel* icon_;
    QFrame* shape_;
    QLabel* message_;
    ClickLabel* ok_;
    bool placed_ = false;
};

}  // namespace tv
