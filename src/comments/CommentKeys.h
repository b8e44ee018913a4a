#pragma once

#include <string>
#include <string_view>

namespace orvo {

// The file in every directory that holds the comments of its entries.
inline constexpr std::string_view kCommentFileName = "dir_info.orb";
// The key of a directory's own comment in its own comment file.
inline constexpr std::string_view kThisDirKey = ":THIS_DIR:";

struct CommentEntry {
    std::string key;
    std::string comment;
    bool operator==(const CommentEntry&) const = default;
};

// Whether an entry of this name can have a comment. Colons are legal in
// file names, so an entry may be named like the directory's own key; its
// comment would be the directory's, and the comment file has no other
// place for it that older versions of the program could read. Such an
// entry has no comment: it shows none, gets none and takes none along.
inline bool NameCanHaveComment(std::string_view name) {
    return name != kThisDirKey;
}

} // namespace orvo
