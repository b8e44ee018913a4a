#pragma once

#include <string>
#include <string_view>

namespace orvo {

// Path arithmetic on texts, "/" being the only separator (a backslash is an
// ordinary name character). No function touches the file system.

// The path without one trailing "/", except for the root "/" itself.
std::string StripTrailingSlash(std::string_view path);

// directory + "/" + name, without doubling the root's separator.
std::string JoinPath(std::string_view directory, std::string_view name);

// The last component ("c" of "/a/b/c"; "" for "/").
std::string_view FileNameOf(std::string_view path);

// Everything before the last component: "/a/b" of "/a/b/c", "/" of "/a",
// "." for a name without any separator.
std::string ParentDirectoryOf(std::string_view path);

// path made absolute against the working directory and tidied of "." and
// ".." components, its bytes kept; path itself when that cannot be done.
std::string AbsolutePath(const std::string& path);

// A name split at its last dot: "archive.tar.gz" gives ("archive.tar",
// "gz"), "README" gives ("README", ""). Leading dots only hide a file:
// ".bashrc" gives (".bashrc", ""), ".config.json" (".config", "json").
struct NameParts {
    std::string_view stem;
    std::string_view extension;
};
NameParts SplitExtension(std::string_view name);

} // namespace orvo
