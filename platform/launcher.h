#pragma once
// Starting other programs and opening files with the desktop's handler. Nothing is
// waited for and failures stay silent, as the callers expect.

#include <string>

namespace tv {

// Show states (the platform's SW_SHOWNORMAL and SW_SHOWMINIMIZED).
inline constexpr int kShowNormal = 1;
inline constexpr int kShowMinimized = 2;

// The command line that opens the system's power settings.
inline constexpr const char* kPowerAppletCommand =
    "rundll32.exe shell32.dll,Control_RunDLL powercfg.cpl,,1";

class Launcher {
  public:
    virtual ~Launcher() = default;
    // Opens file with operation "open": a program is started with the parameters, any
    // other file goes to its handler.
    virtual void ShellExecuteA(const std::string& operation, const std::string& file,
                               const std::string& parameters, const std::string& directory,
                               int showCommand) = 0;
    // Starts a command line as a new process with the given show state.
    virtual void startProcess(const std::string& commandLine, int showState) = 0;
};

}  // namespace tv
