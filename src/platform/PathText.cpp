#include "platform/PathText.h"

#include <filesystem>

namespace orvo {

std::string StripTrailingSlash(std::string_view path) {
    if (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return std::string(path);
}

std::string JoinPath(std::string_view directory, std::string_view name) {
    std::string out;
    out.reserve(directory.size() + 1 + name.size());
    out.append(directory);
    if (out.empty() || out.back() != '/')
        out.push_back('/');
    out.append(name);
    return out;
}

std::string_view FileNameOf(std::string_view path) {
    size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string ParentDirectoryOf(std::string_view path) {
    size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return ".";
    if (slash == 0)
        return "/";
    return std::string(path.substr(0, slash));
}

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error)
        return path;
    return StripTrailingSlash(absolute.lexically_normal().string());
}

NameParts SplitExtension(std::string_view name) {
    // Leading dots make a name hidden; they never start an extension.
    const size_t first = name.find_first_not_of('.');
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || first == std::string_view::npos || dot < first)
        return {name, {}};
    return {name.substr(0, dot), name.substr(dot + 1)};
}

} // namespace orvo
