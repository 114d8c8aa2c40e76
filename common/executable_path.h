// Executable path: where the running program's own file is, so that it can find the data
// installed beside it. One seam with two sides: executable_path_posix.cpp reads /proc/self/exe,
// executable_path_win32.cpp asks GetModuleFileNameA.
#pragma once

#include <string>

// The absolute path of the running executable, or an empty string when the system cannot say.
std::string executablePath();
