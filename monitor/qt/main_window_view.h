#pragma once
// The main window: a fixed 408 x 242 client area with the read-outs, the charge bar,
// the rating and power-source icons and the power-settings link, laid out as the
// window was designed. It only mirrors frmMain's controls and forwards the user's
// events (close box, pointer moves, the link) to the logic.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

#include "monitor/frm_main.h"
#include "monitor/qt/view_support.h"
#include "platform/qt/qt_bindings.h"

namespace tv {

class MainWindowView : public QWidget {
  public:
    // chargeBar: the bar's widget, adopted for the life of this view.
    MainWindowView(frmMain& form, QWidget& chargeBar, std::function<void()> afterEvent);
    ~MainWindowView() override;

    frmMain& form() const { return form_; }
    void sync();

    // The widget showing the control of that name (labels, pictures, the bar).
    QWidget* widgetFor(const std::string& controlName) const;

  protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    struct Mirror {
        QLabel* widget;
        const Label* label;
        SyncedState synced{};
    };
    struct Picture {
        QLabel* widget;
        const PictureBox* picture;
        int size;
        SyncedState synced{};
    };

    void build();
    void syncWindow();

    frmMain& form_;
    QPointer<QWidget> chargeBar_;
    std::function<void()> afterEvent_;
    std::vector<Mirror> labels_;
    std::vector<Picture> pictures_;
    ClickLabel* link_ = nullptr;
    int appliedLeft_ = -1;
    int appliedTop_ = -1;
    QString appliedIcon_;
};

}  // namespace tv
