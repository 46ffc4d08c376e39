#include "ppm.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace tv {

namespace {

constexpr long long maxPixels = 1 << 22;

// The next header number, skipping blanks and '#' comments.
long long headerNumber(const std::string& data, std::size_t& pos) {
    while (pos < data.size()) {
        if (data[pos] == '#') {
            while (pos < data.size() && data[pos] != '\n') {
                ++pos;
            }
        } else if (std::isspace(static_cast<unsigned char>(data[pos]))) {
            ++pos;
        } else {
            break;
        }
    }
    long long value = -1;
    while (pos < data.size() && std::isdigit(static_cast<unsigned char>(data[pos])) &&
           value < maxPixels) {
        value = (value < 0 ? 0 : value * 10) + (data[pos++] - '0');
    }
    return value;
}

}  // namespace

std::string encodePpm(const Bitmap& picture) {
    std::string bytes =
        "P6\n" + std::to_string(picture.width) + " " + std::to_string(picture.height) + "\n255\n";
    bytes.reserve(bytes.size() + picture.pixels.size() * 3);
    for (Color c : picture.pixels) {
        bytes += static_cast<char>(redOf(c));
        bytes += static_cast<char>(greenOf(c));
        bytes += static_cast<char>(blueOf(c));
    }
    return bytes;
}

Bitmap readPpm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw PictureFileError(path + ": cannot be read");
    }
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t pos = 2;
    if (data.compare(0, 2, "P6") != 0) {
        throw PictureFileError(path + ": not a binary PPM (P6) picture");
    }
    long long width = headerNumber(data, pos);
    long long height = headerNumber(data, pos);
    long long maxValue = headerNumber(data, pos);
    if (width <= 0 || height <= 0 || width * height > maxPixels || maxValue <= 0 ||
        maxValue > 255 || pos >= data.size() ||
        !std::isspace(static_cast<unsigned char>(data[pos]))) {
        throw PictureFileError(path +
                               ": PPM header needs a size up to 4M pixels and a maximum of 1-255");
    }
    ++pos;
    if (data.size() - pos < static_cast<std::size_t>(width * height * 3)) {
        throw PictureFileError(path + ": PPM pixels are cut short");
    }
    Bitmap picture(static_cast<int>(width), static_cast<int>(height));
    auto channel = [&](std::size_t at) {
        return static_cast<int>(static_cast<unsigned char>(data[at]) * 255 / maxValue);
    };
    for (std::size_t i = 0; i < picture.pixels.size(); ++i, pos += 3) {
        picture.pixels[i] = rgb(channel(pos), channel(pos + 1), channel(pos + 2));
    }
    return picture;
}

void writeFileAtomically(const std::string& path, const std::string& bytes) {
    std::string temporary = path + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            throw PictureFileError(path + ": cannot be written");
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::remove(temporary.c_str());
        throw PictureFileError(path + ": cannot be written (" + error.message() + ")");
    }
}

}  // namespace tv
