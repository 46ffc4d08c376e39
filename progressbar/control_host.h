#pragma once
// What the bar needs of the window that hosts it.

#include <string_view>

#include "progressbar/gdi.h"

namespace tv {

class ControlHost {
  public:
    virtual ~ControlHost() = default;

    virtual Hwnd hWnd() const = 0;
    // A DC of the client area; it keeps its state from one call to the next.
    virtual Hdc hDC() const = 0;
    // In pixels once the bar has asked for a pixel scale.
    virtual double scaleWidth() const = 0;
    virtual double scaleHeight() const = 0;
    virtual double scaleLeft() const = 0;
    virtual double scaleTop() const = 0;
    virtual void setScaleModePixels() = 0;
    virtual void setBackColor(Color colour) = 0;
    // The saved form is out of date.
    virtual void propertyChanged(std::string_view name) = 0;
};

}  // namespace tv
