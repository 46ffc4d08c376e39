#include "platform/tray.h"

#include <algorithm>
#include <cstring>

#include "runtime/numbers.h"
#include "runtime/strings.h"

namespace tv {

namespace {

// The program's icon resources in handle order, after the window icon (handle 1).
constexpr std::array<const char*, 7> kIconResources = {"OK",     "PREF", "1",        "WARNING",
                                                       "DELETE", "ADD",  "CONNECTED"};

void putLittleEndian(std::uint8_t* out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

}  // namespace

HICON iconHandleFor(std::string_view resourceName) {
    if (equalsIgnoreCase(resourceName, "window")) {
        return kWindowIcon;
    }
    for (std::size_t i = 0; i < kIconResources.size(); ++i) {
        if (equalsIgnoreCase(resourceName, kIconResources[i])) {
            return static_cast<HICON>(i + 2);
        }
    }
    return 0;
}

std::string iconNameFor(HICON handle) {
    if (handle == kWindowIcon) {
        return "window";
    }
    if (handle >= 2 && handle - 2 < kIconResources.size()) {
        return kIconResources[handle - 2];
    }
    return {};
}

void NotifyIconData::setTip(std::string_view caption) {
    szTip.fill(' ');
    std::size_t count = std::min(caption.size(), kTipSize);
    std::memcpy(szTip.data(), caption.data(), count);
    if (count < kTipSize) {
        szTip[count] = '\0';
    }
}

std::string NotifyIconData::tipText() const {
    const char* end = std::find(szTip.begin(), szTip.end(), '\0');
    return std::string(szTip.begin(), end);
}

std::array<std::uint8_t, kNotifyIconDataSize> NotifyIconData::toBytes() const {
    std::array<std::uint8_t, kNotifyIconDataSize> out{};
    const std::uint32_t fields[] = {cbSize, hWnd, uID, uFlags, uCallbackMessage, hIcon};
    for (std::size_t i = 0; i < 6; ++i) {
        putLittleEndian(out.data() + 4 * i, fields[i]);
    }
    std::memcpy(out.data() + 24, szTip.data(), kTipSize);
    return out;
}

}  // namespace tv
