#pragma once

#include <string>
#include <vector>

namespace orvo {

// The pictures of one directory in name order, for walking through them
// with Next, Previous, First, Last and the slideshow.
class ImageList {
public:
    // Reads the directory and keeps the files whose extension is a picture
    // extension, sorted by name. A directory that cannot be read gives an
    // empty list.
    void Build(std::string directory);
    void Clear();
    bool IsBuilt() const { return built_; }
    const std::string& Directory() const { return directory_; }
    const std::vector<std::string>& Paths() const { return paths_; }

    // -1 when the path is not in the list.
    int IndexOf(const std::string& path) const;
    // The path to go to, or "" to stay. Next after the last picture goes
    // back to the first only when wrap is set (the slideshow); a path not
    // in the list goes nowhere.
    std::string Next(const std::string& current, bool wrap) const;
    std::string Previous(const std::string& current) const;
    std::string First() const;
    std::string Last() const;
    // Forgets a picture that is gone (deleted or moved away).
    void Remove(const std::string& path);

private:
    std::string directory_;
    std::vector<std::string> paths_;
    bool built_ = false;
};

} // namespace orvo
