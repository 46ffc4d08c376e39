#pragma once
// The program a name stands for, found beside our executable or on PATH, as the
// Windows programs' command lines name it ("POWERCFG", "powercfg.exe").

#include <optional>
#include <string>

namespace tv {

// A regular file we may execute.
bool isExecutableFile(const std::string& path);

// The executable a program name stands for: first in programFolder, then in each
// folder of PATH. The name matches without regard to case and without a ".exe"
// ending on either side ("POWERCFG" and "powercfg.exe" find "powercfg"). A name with a
// slash is a path and is taken as it is when it is executable.
std::optional<std::string> findProgram(const std::string& name, const std::string& programFolder);

}  // namespace tv
