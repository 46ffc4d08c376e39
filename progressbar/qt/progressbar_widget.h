#pragma once
// A Qt widget that hosts one XP_ProgressBar. The bar draws into its back buffer and
// copies it to the widget's surface in one block; painting shows that surface.

#include <QImage>
#include <QWidget>
#include <memory>

#include "progressbar/qt/qt_text_engine.h"
#include "progressbar/xp_progressbar.h"

namespace tv {

class ProgressBarWidget : public QWidget, private ControlHost {
    Q_OBJECT

  public:
    // A new bar of the given size in pixels.
    explicit ProgressBarWidget(QSize size = QSize(385, 25), QWidget* parent = nullptr);
    // A bar loaded from a saved form, at the size stored with it. Throws FormatError and
    // the value errors of the bar when the form cannot be loaded.
    explicit ProgressBarWidget(const PropertyBag& savedForm, QWidget* parent = nullptr);
    ~ProgressBarWidget() override;

    XP_ProgressBar& bar() { return *bar_; }
    // The surface as the window shows it.
    QImage frame() const;
    QSize sizeHint() const override;

  signals:
    // The bar's saved form is out of date.
    void barPropertyChanged(const QString& name);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    Hwnd hWnd() const override { return window_; }
    Hdc hDC() const override { return gdi_.getDC(window_); }
    double scaleWidth() const override;
    double scaleHeight() const override;
    double scaleLeft() const override { return 0; }
    double scaleTop() const override { return 0; }
    void setScaleModePixels() override {}
    void setBackColor(Color colour) override;
    void propertyChanged(std::string_view name) override;

    SysColorTable colours_;
    QtTextEngine text_;
    Gdi gdi_;
    Hwnd window_;
    Color backColor_ = 0xFFFFFF;
    bool painting_ = false;
    std::unique_ptr<XP_ProgressBar> bar_;
};

}  // namespace tv
