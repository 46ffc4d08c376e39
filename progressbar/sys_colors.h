#pragma once
// The system colour table behind GetSysColor: fixed defaults for tests and tools, the
// desktop's palette in the Qt build.

#include <array>

#include "progressbar/raster_types.h"

namespace tv {

class SysColorTable {
  public:
    static constexpr int count = 31;

    // The default blue theme of the desktop the bar first lived on.
    static SysColorTable luna();

    // 0 for an index outside the table, as the platform answers.
    Color get(int index) const;
    void set(int index, Color colour);

  private:
    std::array<Color, count> colours_{};
};

}  // namespace tv
