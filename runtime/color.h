#pragma once
// The platform's colour value: red in the lowest byte, green in the second, blue in
// the third; a value with the top bit set names a system colour.

#include <cstdint>

namespace tv {

using Color = std::uint32_t;

}  // namespace tv
