#include "app/file_export.h"

#include "app/command_line.h"

// The page hands its program no arguments, so no export is ever asked of it here; the exporter's
// code stays out of what every visitor downloads.
int exportShowFile(const std::string& path) {
    printRefusal("cheerleaders: the page writes no file " + path);
    return 1;
}
