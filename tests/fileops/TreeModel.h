#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <sys/types.h>
#include <vector>

namespace orvo::test {

// What one entry of a tree should be, comments included: the reference the
// randomized test holds the disk to after every step.
struct ModelNode {
    enum class Kind { File, Directory, Link };
    Kind kind = Kind::File;
    uint64_t content = 0; // a file's bytes, by ContentBytes
    uint64_t size = 0;
    std::string target;       // a link's
    bool toDirectory = false; // a link that leads to a directory
    mode_t mode = 0644;
    // Known modification time; a directory's becomes unknown while a step
    // changes what is in it and is learnt again from the disk after it.
    std::optional<timespec> mtime;
    // A directory's own comment, or the entry's under its name in its
    // directory's comment file. A link to a directory has the comment of
    // the directory it leads to, never one of its own.
    std::string comment;
    std::map<std::string, std::unique_ptr<ModelNode>> children;

    bool IsDirectory() const { return kind == Kind::Directory; }
    std::unique_ptr<ModelNode> Clone() const;
    size_t Count() const; // this entry and everything below it
};

// A file's bytes are a function of its content number and size, so the
// model holds no file data.
void ContentBytes(uint64_t content, uint64_t offset, char* out, size_t n);

// What a copy, move or delete should ask and do, and the tree after it.
class TreeModel {
public:
    // A tree root (a directory of its own on some file system).
    void AddRoot(const std::string& path, std::unique_ptr<ModelNode> node);
    const std::vector<std::string>& Roots() const { return roots_; }
    ModelNode* Find(const std::string& path) const;

    // Every path below the roots (roots excluded), directories included.
    void ForEach(const std::function<void(const std::string&, ModelNode&)>& visit) const;

    // The rows of the problems list of a copy or move: the existing targets
    // of what is not a directory, and of a directory whose target is not
    // one ("conflicts": always answered Skip, as nothing can be put there).
    struct Row {
        std::string path;
        bool conflict = false;
    };
    std::vector<Row> TransferRows(const std::vector<std::string>& items,
                                  const std::string& destination) const;
    // Applies a copy or move; skipped holds the rows answered Skip.
    void Transfer(const std::vector<std::string>& items, const std::string& destination, bool move,
                  const std::set<std::string>& skipped);

    // The hidden entries a delete asks about.
    std::vector<std::string> DeleteRows(const std::vector<std::string>& items) const;
    // Applies a delete; returns the directories that stay because they
    // still hold skipped entries.
    std::set<std::string> Delete(const std::vector<std::string>& items,
                                 const std::set<std::string>& skipped);

    void Rename(const std::string& path, const std::string& name);
    void SetComment(const std::string& path, const std::string& comment);

    // A directory whose entries a step changes: its modification time is
    // learnt again from the disk after the step.
    void Touch(const std::string& directory);

    // The comment the program shows for an entry.
    std::string VisibleComment(const ModelNode& node) const;

private:
    // Puts source at parent/name; for a move, takes what went from the
    // source and returns whether all of it went.
    bool TransferNode(ModelNode& source, ModelNode& parent, const std::string& name,
                      const std::string& targetPath, bool move,
                      const std::set<std::string>& skipped);
    void Rows(const ModelNode& source, const ModelNode* target, const std::string& targetPath,
              std::vector<Row>& rows) const;
    bool DeleteNode(ModelNode& node, const std::string& path, const std::set<std::string>& skipped,
                    std::set<std::string>& stay);

    std::vector<std::string> roots_;
    std::map<std::string, std::unique_ptr<ModelNode>> trees_;
};

std::string JoinModelPath(const std::string& directory, const std::string& name);
// A path for a message: bytes that are not printable ASCII as \xNN.
std::string Printable(const std::string& path);

} // namespace orvo::test
