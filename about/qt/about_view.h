#pragma once
// The About window in Qt: a dialog laid out by Qt's layouts (it has no designed
// pixel places), mirroring frmAbout's labels and buttons. Escape and the close box
// press "Close", so the logic decides how the window ends.

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "about/frm_about.h"

class QLabel;
class QPushButton;

namespace tv {

class AboutView : public QDialog {
  public:
    // afterEvent: run after every forwarded user event (mirrors the views).
    explicit AboutView(frmAbout& form, std::function<void()> afterEvent);

    void sync();
    // Called once when the window has unloaded.
    std::function<void()> onUnloaded;

    // The widget showing the control of that name, or null.
    QWidget* widgetFor(const std::string& controlName) const;

  protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

  private:
    QLabel* addLabel(Label& label);

    frmAbout& form_;
    std::function<void()> afterEvent_;
    std::vector<std::pair<QLabel*, const Label*>> labels_;
    QPushButton* manual_ = nullptr;
    QPushButton* close_ = nullptr;
    bool ended_ = false;
};

}  // namespace tv
