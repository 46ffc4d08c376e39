#pragma once
// Modal message and input boxes. Both programs only ever show OK boxes; the style
// carries the icon (0 none, 48 exclamation, 64 information).

#include <string>

namespace tv {

inline constexpr int vbOKOnly = 0;
inline constexpr int vbExclamation = 48;
inline constexpr int vbInformation = 64;

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual void MsgBox(const std::string& prompt, int style, const std::string& title) = 0;
    // Empty text when the user cancels.
    virtual std::string InputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) = 0;
};

}  // namespace tv
