#include "render/texture_path.h"

#include <filesystem>

std::string installedDataDir(const std::string& executablePath,
                             const std::string& relativeDataDir) {
    if (executablePath.empty()) {
        return {};
    }
    const std::filesystem::path folder = std::filesystem::path(executablePath).parent_path();
    return (folder / relativeDataDir).lexically_normal().string();
}

std::string texturePath(const std::string& name, bool inWorkingDir, const std::string& dataDir) {
    if (inWorkingDir || dataDir.empty()) {
        return name;
    }
    return (std::filesystem::path(dataDir) / name).string();
}
