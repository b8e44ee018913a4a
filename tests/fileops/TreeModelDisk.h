#pragma once

#include "TreeModel.h"

#include <string>
#include <sys/stat.h>
#include <unordered_map>
#include <vector>

namespace orvo::test {

// Makes what node holds under the existing directory path: entries,
// contents, modes, times and comment files (written directly, so the tree
// does not depend on the code under test); the times set are recorded in
// the model.
bool WriteModelTree(const std::string& path, ModelNode& node);

// Holds the disk to the model: names, types, contents, link targets,
// modes and known times, every comment file entry by entry, and the
// comment the program reads for every entry.
class DiskChecker {
public:
    // Directories' modes and times are compared only when set.
    bool directoryStamps = true;
    size_t maxDifferences = 6;

    std::vector<std::string> Compare(const TreeModel& model);
    // The modification times of the directories a step changed, from the
    // disk, for the next steps to keep.
    void LearnTimes(const TreeModel& model);

private:
    void CompareDirectory(const TreeModel& model, const std::string& path, const ModelNode& node);
    void CompareEntry(const TreeModel& model, const std::string& path, const ModelNode& node);
    void CompareComments(const TreeModel& model, const std::string& path, const ModelNode& node);
    bool SameContent(const std::string& path, const ModelNode& node, const struct stat& st);
    void Differ(const std::string& path, const std::string& what);

    // Files whose bytes were read and found right, by path, with what
    // identified them then: unchanged since, they are not read again.
    struct Seen {
        ino_t inode;
        timespec ctime;
        uint64_t content;
    };
    std::unordered_map<std::string, Seen> seen_;
    std::vector<std::string> differences_;
};

} // namespace orvo::test
