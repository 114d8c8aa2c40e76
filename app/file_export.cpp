#include "app/file_export.h"

#include "app/command_line.h"
#include "export/gltf_export.h"

int exportShowFile(const std::string& path) {
    std::string error;
    if (!writeShowGlb(path, error)) {
        printRefusal("cheerleaders: " + error);
        return 1;
    }
    return 0;
}
