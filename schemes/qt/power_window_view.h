#pragma once
// frmPower's window: a fixed 390 x 303 client area with each visible control at its
// designed place (twips at 15 to the pixel), centred on the screen when it opens. It
// mirrors the controls' state, forwards the user's events through their on* hooks, and
// answers the window's calls on its widgets (repaint locks, focus, repaints, text
// widths). Controls placed below the client area only hold state and get no widget.

#include <QFont>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "schemes/frm_power.h"
#include "schemes/power_services.h"
#include "schemes/qt/power_widgets.h"

class QPushButton;

namespace tv {

class PowerWindowView : public QWidget, public PowerView, public TextMeasure {
  public:
    static constexpr int kClientWidth = 390;
    static constexpr int kClientHeight = 303;
    static constexpr int kTwipsPerPixel = 15;

    // afterEvent: run after every forwarded user event (mirrors and re-arms timers).
    explicit PowerWindowView(std::function<void()> afterEvent);

    // Builds the widgets of the window's controls; once, before the window loads.
    void attach(frmPower& form);
    void sync();

    // Called once when the window has unloaded.
    std::function<void()> onUnloaded;

    // The widget showing the control of that name, or null (state-only controls).
    QWidget* widgetFor(const std::string& controlName) const;
    const QFont& listFont() const { return listFont_; }

    void InitCommonControls() override {}
    void LockWindowUpdate(const Control* control) override;
    void setFocus(const Control& control) override;
    void refresh(const Control& control) override;
    // In the settings list's fixed-pitch font: the sideways extent must reach the end
    // of the longest line as the list draws it.
    double textWidth(const std::string& text) override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    struct Mirror {
        QWidget* widget;
        const Control* control;
        QRect place;  // as designed, in pixels
    };

    void build(const ControlPlace& place);
    QWidget* makeWidget(Control& control);
    QWidget* makeCombo(ComboBox& combo);
    QWidget* makeList(ListBox& list);
    QWidget* makeLabel(Control& control);
    QPushButton* makeButton(Button& button);
    void syncControl(const Mirror& mirror);
    void fitLabel(QLabel& widget, const QRect& place);
    void syncWindow();
    QWidget* find(const Control& control) const;
    void forward(const std::function<void()>& event);

    std::function<void()> afterEvent_;
    frmPower* form_ = nullptr;
    QFont listFont_;
    std::vector<Mirror> mirrors_;
    QPointer<QWidget> locked_;
    bool placed_ = false;
    bool wasLoaded_ = false;
    bool unloaded_ = false;
};

}  // namespace tv
