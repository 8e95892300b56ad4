#include "app/help_path.h"

namespace {

// The part up to and including the last separator.
std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// No directory, no extension.
std::string BaseNameOf(const std::string& path) {
    const std::string name = path.substr(DirectoryOf(path).size());
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

} // namespace

std::string HelpFilePath(const std::string& modulePath, const std::string& originalFilename) {
    return DirectoryOf(modulePath) + "\\" + BaseNameOf(originalFilename) + ".chm";
}
