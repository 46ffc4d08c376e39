#pragma once
// Starting programs and opening files on a Linux desktop. Programs start in their
// own session with posix_spawn (never through a shell) and are reaped in the
// background; nothing is waited for and failures stay silent.
//
// "FOLDER/X.exe" names the program X in FOLDER (matched without regard to case, with
// or without ".exe"); any other existing file opens with the desktop's handler
// (xdg-open); "FOLDER/X.chm", the help file, opens the HTML manual installed there
// (FOLDER/manual/index.html). The power applet's command line opens the desktop's power settings,
// the first of kPowerSettingsCommands found on PATH, or nothing.

#include <string>
#include <vector>

#include "platform/launcher.h"

namespace tv {

// Candidates in order of preference, the program first.
extern const std::vector<std::vector<std::string>> kPowerSettingsCommands;

class LinuxLauncher : public Launcher {
  public:
    explicit LinuxLauncher(std::string programFolder) : programFolder_(std::move(programFolder)) {}

    // What ShellExecuteA and startProcess start: the program and its arguments; empty
    // when they start nothing.
    std::vector<std::string> openCommand(const std::string& operation, const std::string& file,
                                         const std::string& parameters) const;
    std::vector<std::string> startCommand(const std::string& commandLine) const;

    // The show state has no equivalent for a new desktop window and is not passed on.
    void ShellExecuteA(const std::string& operation, const std::string& file,
                       const std::string& parameters, const std::string& directory,
                       int showCommand) override;
    void startProcess(const std::string& commandLine, int showState) override;

  private:
    std::string programFolder_;
};

// The program file named by "FOLDER/X.exe" or "FOLDER/X" in FOLDER, or empty text.
std::string programInFolder(const std::string& path);

// The file that opens for a path: the manual for a help file ("FOLDER/X.chm", matched
// without regard to case), otherwise the path itself.
std::string helpFileTarget(const std::string& path);

// Starts argv[0] (a path) with the arguments; false when it could not start.
bool spawnDetached(const std::vector<std::string>& argv, const std::string& directory = {});

}  // namespace tv
