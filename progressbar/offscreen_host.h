#pragma once
// A host whose window is a surface in memory: for tools, benchmarks and tests.

#include <functional>
#include <string>
#include <vector>

#include "progressbar/control_host.h"

namespace tv {

class OffscreenHost final : public ControlHost {
  public:
    // onDrawn runs after every drawing call that reaches the window.
    OffscreenHost(Gdi& gdi, int width, int height, std::function<void()> onDrawn = {});
    ~OffscreenHost() override;
    OffscreenHost(const OffscreenHost&) = delete;
    OffscreenHost& operator=(const OffscreenHost&) = delete;

    // Resizes the window only; the bar hears of it through UserControl_Resize.
    void resize(int width, int height);
    const Bitmap& surface() const { return *gdi_.windowSurface(window_); }
    const std::vector<std::string>& changedProperties() const { return changed_; }
    Color backColor() const { return backColor_; }
    bool scaleModePixels() const { return pixels_; }

    Hwnd hWnd() const override { return window_; }
    Hdc hDC() const override { return gdi_.getDC(window_); }
    double scaleWidth() const override { return surface().width; }
    double scaleHeight() const override { return surface().height; }
    double scaleLeft() const override { return 0; }
    double scaleTop() const override { return 0; }
    void setScaleModePixels() override { pixels_ = true; }
    void setBackColor(Color colour) override;
    void propertyChanged(std::string_view name) override { changed_.emplace_back(name); }

  private:
    Gdi& gdi_;
    Hwnd window_;
    Color backColor_ = 0xFFFFFF;
    bool pixels_ = false;
    std::vector<std::string> changed_;
};

}  // namespace tv
