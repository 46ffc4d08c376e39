#include "progressbar/offscreen_host.h"

namespace tv {

OffscreenHost::OffscreenHost(Gdi& gdi, int width, int height, std::function<void()> onDrawn)
    : gdi_(gdi), window_(gdi.createWindow(width, height, std::move(onDrawn))) {}

OffscreenHost::~OffscreenHost() {
    gdi_.destroyWindow(window_);
}

void OffscreenHost::resize(int width, int height) {
    gdi_.resizeWindow(window_, width, height, backColor_);
}

void OffscreenHost::setBackColor(Color colour) {
    // The window erases itself in its background colour, as a real one repaints.
    backColor_ = colour & 0xFFFFFF;
    Rect client;
    gdi_.getClientRect(window_, client);
    gdi_.resizeWindow(window_, 0, 0, backColor_);
    gdi_.resizeWindow(window_, client.right, client.bottom, backColor_);
}

}  // namespace tv
