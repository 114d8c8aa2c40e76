// Executable path: where the running program's own file is, so that it can find the data
// installed beside it. The one place that differs between Linux and Windows.
#pragma once

#include <string>

// The absolute path of the running executable, or an empty string when the system cannot say.
std::string executablePath();
