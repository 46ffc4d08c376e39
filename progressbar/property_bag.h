#pragma once
// The saved form of a control: named values with defaults, as the host keeps them, and
// a text format of our own for storing them.
//
// One "Key = value" per line; blank lines and lines starting with '#' are skipped. Values:
//   123, -5, &HA85E33          a 32-bit integer (hex is two's complement: &H8000000D < 0)
//   True, False                a Boolean
//   "MS Sans Serif" 8.25 bold  a font: quoted name ("" for a quote), size in points, then
//                              any of bold, italic, underline, strikethrough
//   picture 2 1 0000FF FF0000  a picture: width, height, then pixels as BBGGRR row by row
//   Nothing                    no object

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "progressbar/raster_types.h"
#include "progressbar/text_engine.h"

namespace tv {

using PropertyValue = std::variant<std::monostate, std::int32_t, bool, FontInfo, Bitmap>;

// A saved form that cannot be read; the message is one line.
class FormatError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class PropertyBag {
  public:
    // Names compare without regard to case, as the host's do.
    PropertyValue readProperty(std::string_view name, const PropertyValue& defaultValue) const;
    // A value equal to its default is left out (and an older entry removed).
    void writeProperty(std::string_view name, const PropertyValue& value,
                       const PropertyValue& defaultValue);
    // Without a default the value is always written.
    void writeProperty(std::string_view name, const PropertyValue& value);

    bool contains(std::string_view name) const;
    std::vector<std::string> names() const;

    std::string toText() const;
    // Throws FormatError naming the line; nothing is returned then.
    static PropertyBag fromText(std::string_view text);

  private:
    std::vector<std::pair<std::string, PropertyValue>>::const_iterator find(
        std::string_view name) const;

    std::vector<std::pair<std::string, PropertyValue>> entries_;
};

// Typed reads: the default when missing, FormatError naming the key when of another type.
std::int32_t readLong(const PropertyBag& bag, std::string_view name, std::int32_t defaultValue);
bool readBool(const PropertyBag& bag, std::string_view name, bool defaultValue);
std::optional<FontInfo> readFont(const PropertyBag& bag, std::string_view name);
std::optional<Bitmap> readPicture(const PropertyBag& bag, std::string_view name);

}  // namespace tv
