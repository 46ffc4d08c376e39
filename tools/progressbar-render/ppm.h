#pragma once
// Binary PPM (P6) pictures, the format the renderer writes without any library.

#include <stdexcept>
#include <string>

#include "progressbar/raster_types.h"

namespace tv {

class PictureFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

std::string encodePpm(const Bitmap& picture);
// Throws PictureFileError naming the file.
Bitmap readPpm(const std::string& path);

// Writes beside the target and renames, so a failure leaves no partial file.
void writeFileAtomically(const std::string& path, const std::string& bytes);

}  // namespace tv
