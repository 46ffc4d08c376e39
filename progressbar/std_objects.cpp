#include "progressbar/std_objects.h"

namespace tv {

StdFont::StdFont(Gdi& gdi, FontInfo info) : gdi_(gdi), info_(std::move(info)) {}

StdFont::~StdFont() {
    if (handle_) {
        gdi_.deleteObject(handle_);
    }
}

GdiObj StdFont::hFont() const {
    if (!handle_) {
        handle_ = gdi_.createFont(info_);
    }
    return handle_;
}

StdPicture::StdPicture(Gdi& gdi, Bitmap pixels)
    : gdi_(gdi), pixels_(std::move(pixels)), handle_(gdi.createBitmap(*pixels_)) {}

StdPicture::StdPicture(Gdi& gdi) : gdi_(gdi) {}

StdPicture::~StdPicture() {
    if (handle_) {
        gdi_.deleteObject(handle_);
    }
}

}  // namespace tv
