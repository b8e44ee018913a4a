// Random copies, moves, deletes, renames and comment edits on a large and
// awkward tree, through the code the window and `orvo` use; after every
// step the disk and every comment must be what a reference model says.
//
// tree_model_test [--seeds 1,2,3] [--steps N] [--entries N] [--avoid a,b] [--tmpfs]
//                 [--verbose]
//
// --avoid leaves features out: case-twins, skip (Skip answers to
// overwrites), big-moves (entry-by-entry moves of more than 4000
// entries), dir-stamps (directories' modes and times), dir-onto-file (a
// directory copied or moved onto an entry that is not a directory, links
// included), this-dir-name (an entry named like a directory's own comment
// key), replaced-comment (a commented entry overwritten by one without a
// comment). --tmpfs puts the first tree on a tmpfs too (much quicker on a
// busy disk). Exit status 1 when any seed fails; each failing seed is printed
// with its step and the first differences.
#include "TreeModel.h"

#include "../platform/TestDirectory.h"
#include "../platform/TmpfsMount.h"
#include "ScriptedOperationUi.h"
#include "TreeModelDisk.h"
#include "comments/PathComments.h"
#include "fileops/EntryRename.h"
#include "fileops/FileOperationRun.h"
#include "store/Collation.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace orvo;
using namespace orvo::test;

namespace {

struct Options {
    std::vector<uint64_t> seeds{1};
    int steps = 40;
    size_t entries = 5200;
    std::set<std::string> avoid;
    bool verbose = false;
    bool tmpfs = false;
    bool Has(const std::string& feature) const { return !avoid.count(feature); }
};

const char* const kFeatures[] = {"case-twins",    "skip",          "big-moves",       "dir-stamps",
                                 "dir-onto-file", "this-dir-name", "replaced-comment"};

// Names users have: spaces, dots in front, bytes that are no UTF-8, case
// variants, names like the comment file's.
const char* const kNames[] = {
    "a.txt",
    "notes",
    "file 1.dat",
    "Report Final.doc",
    "x",
    "data.bin",
    "caf\xe9.txt",
    "\xff\xfe raw",
    "na\xefve \x80",
    "dir one",
    "sub",
    ".hidden",
    ".config",
    "..dots",
    "-dash",
    "#hash",
    "tab\tname",
    "new\nline",
    "  spaced  ",
    "UPPER",
    "mIxEd.TxT",
    "\xc3\x28 bad",
    "photo.jpg",
    "a name with several words in it.txt",
    "~tilde",
    "semi;colon",
    "quote\"s",
    "back\\slash",
    "star*",
    "q?",
    "percent%20",
    "dir_info.orb.bak",
    "DIR_INFO.ORB",
    "\xe2\x82\xac euro",
};

class Random {
public:
    explicit Random(uint64_t seed) : engine_(seed) {}
    size_t Below(size_t n) { return n == 0 ? 0 : static_cast<size_t>(engine_() % n); }
    bool Chance(double p) { return static_cast<double>(engine_() % 1000000) < p * 1000000; }
    template <class T> const T& Pick(const std::vector<T>& v) { return v[Below(v.size())]; }

private:
    std::mt19937_64 engine_;
};

std::string Fold(const std::string& name) {
    return LowerCaseText(name);
}

std::string ParentOf(const std::string& path) {
    return path.substr(0, path.rfind('/'));
}

std::string NameOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

bool IsBelow(const std::string& path, const std::string& directory) {
    return path.size() > directory.size() && path.compare(0, directory.size(), directory) == 0 &&
           path[directory.size()] == '/';
}

std::string SwapCase(const std::string& name) {
    std::string out = name;
    for (char& c : out)
        c = std::isupper(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(c))
                                                        : static_cast<char>(std::toupper(c));
    return out;
}

long long Milliseconds(std::chrono::steady_clock::time_point from,
                       std::chrono::steady_clock::time_point to) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(to - from).count();
}

class SeedRun {
public:
    SeedRun(uint64_t seed, const Options& options)
        : seed_(seed), options_(options), random_(seed) {}
    bool Run();

private:
    // The tree.
    std::string NewName(const ModelNode& directory);
    std::string CommentText();
    std::unique_ptr<ModelNode> NewFile();
    std::unique_ptr<ModelNode> NewDirectory();
    void Grow(ModelNode& directory, size_t& budget, int depth, double commented);
    bool Build();

    // The steps.
    std::vector<std::string> Directories() const;
    std::vector<std::string> Entries() const;
    bool PickItems(std::vector<std::string>& items, size_t limit);
    bool Acceptable(const std::vector<std::string>& items, const std::string& destination,
                    bool move) const;
    bool MakesCaseTwins(const ModelNode& source, const ModelNode& target) const;
    bool Transfer(bool move, bool big);
    bool PickTwins(std::vector<std::string>& items, std::string& destination, bool move);
    bool Delete();
    bool Rename();
    bool Comment();
    bool Operate(const FileOperationRequest& request, const std::map<std::string, bool>& rows,
                 const std::set<std::string>& stay);
    std::string Short(const std::string& path) const;
    // A message with the roots' paths shortened to their names.
    std::string WithoutRoots(std::string text) const;
    bool InSecond(const std::string& path) const {
        return path == work_[1] || IsBelow(path, work_[1]);
    }
    std::string ShortList(const std::vector<std::string>& paths) const;

    uint64_t seed_;
    const Options& options_;
    Random random_;
    TreeModel model_;
    DiskChecker checker_;
    std::vector<std::string> work_; // the roots steps work in
    // Directories and their copies, for steps between the two.
    std::vector<std::pair<std::string, std::string>> twins_;
    std::string base_, secondBase_;
    std::string outsideFile_, outsideDirectory_;
    uint64_t nextContent_ = 1;
    std::string step_;                     // what the current step does
    std::vector<std::string> differences_; // what the program did otherwise
};

std::string SeedRun::NewName(const ModelNode& directory) {
    for (;;) {
        std::string name;
        if (options_.Has("case-twins") && !directory.children.empty() && random_.Chance(0.08)) {
            auto it = directory.children.begin();
            std::advance(it, random_.Below(directory.children.size()));
            name = SwapCase(it->first);
        } else if (options_.Has("this-dir-name") && random_.Chance(0.01)) {
            name = ":THIS_DIR:";
        } else {
            name = kNames[random_.Below(std::size(kNames))];
            if (random_.Chance(0.7))
                name += " " + std::to_string(random_.Below(40));
        }
        // The comment file's own name is not one an entry can have here.
        if (directory.children.count(name) || name == "dir_info.orb")
            continue;
        bool twin = false;
        if (!options_.Has("case-twins"))
            for (const auto& entry : directory.children)
                twin = twin || Fold(entry.first) == Fold(name);
        if (!twin)
            return name;
    }
}

std::string SeedRun::CommentText() {
    static const char* const words[] = {
        "holiday", "tax 2019", "do not delete",  "caf\xe9", "\xff\xfe", "line\nbreak",
        "  ",      "ok",       "\xe2\x82\xac 5", "draft"};
    std::string text = std::string(words[random_.Below(std::size(words))]) + " #" +
                       std::to_string(random_.Below(100000));
    if (random_.Chance(0.02))
        text += std::string(2000, 'c');
    return text;
}

std::unique_ptr<ModelNode> SeedRun::NewFile() {
    auto file = std::make_unique<ModelNode>();
    file->content = nextContent_++;
    size_t sizeClass = random_.Below(200);
    file->size = sizeClass < 140   ? random_.Below(600)
                 : sizeClass < 190 ? 600 + random_.Below(8000)
                 : sizeClass < 199 ? 8192 + random_.Below(300000)
                                   : (1 << 20) + random_.Below(2 << 20);
    static const mode_t modes[] = {0644, 0644, 0644, 0600, 0755, 0444};
    file->mode = modes[random_.Below(std::size(modes))];
    file->mtime = timespec{static_cast<time_t>(1000000000 + random_.Below(600000000)),
                           static_cast<long>(random_.Below(1000000000))};
    return file;
}

std::unique_ptr<ModelNode> SeedRun::NewDirectory() {
    auto directory = std::make_unique<ModelNode>();
    directory->kind = ModelNode::Kind::Directory;
    static const mode_t modes[] = {0755, 0755, 0700, 0750, 0555};
    directory->mode = modes[random_.Below(std::size(modes))];
    directory->mtime = timespec{static_cast<time_t>(1000000000 + random_.Below(600000000)),
                                static_cast<long>(random_.Below(1000000000))};
    if (random_.Chance(0.4))
        directory->comment = CommentText();
    return directory;
}

void SeedRun::Grow(ModelNode& directory, size_t& budget, int depth, double commented) {
    size_t n = std::min(budget, 3 + random_.Below(depth == 0 ? 12 : 45));
    for (size_t i = 0; i < n && budget > 0; ++i) {
        std::string name = NewName(directory);
        --budget;
        size_t kind = random_.Below(100);
        std::unique_ptr<ModelNode> entry;
        if (kind < (depth < 5 ? 12u : 0u)) {
            entry = NewDirectory();
            directory.children[name] = std::move(entry);
            Grow(*directory.children[name], budget, depth + 1, commented);
            continue;
        }
        if (kind < 16) {
            entry = std::make_unique<ModelNode>();
            entry->kind = ModelNode::Kind::Link;
            entry->toDirectory = random_.Chance(0.5);
            entry->target = entry->toDirectory ? outsideDirectory_ : outsideFile_;
        } else {
            entry = NewFile();
        }
        if (!entry->toDirectory && random_.Chance(commented) && name != ":THIS_DIR:")
            entry->comment = CommentText();
        directory.children[name] = std::move(entry);
    }
}

bool SeedRun::Build() {
    // Outside the tree: what its links lead to, never to be changed by
    // anything done to the links.
    std::string outside = base_ + "/outside";
    outsideFile_ = outside + "/far.txt";
    outsideDirectory_ = outside + "/far dir";
    auto outsideNode = NewDirectory();
    outsideNode->mode = 0755;
    auto far = NewFile();
    far->comment = "far away";
    outsideNode->children["far.txt"] = std::move(far);
    auto farDirectory = NewDirectory();
    farDirectory->comment = "the place links lead to";
    farDirectory->children["inner.txt"] = NewFile();
    outsideNode->children["far dir"] = std::move(farDirectory);

    auto first = NewDirectory();
    first->mode = 0755;
    first->comment.clear();
    // One tree big enough that its comment changes overflow any batch,
    // with a 16 MiB file, and smaller ones beside it.
    size_t budget = options_.entries * 9 / 10;
    auto big = NewDirectory();
    Grow(*big, budget, 1, 0.9);
    auto large = NewFile();
    large->size = (16u << 20) + 123;
    big->children["large 16 MiB.bin"] = std::move(large);
    first->children["big tree"] = std::move(big);
    budget += options_.entries / 10;
    while (budget > 0) {
        std::string name = NewName(*first);
        first->children[name] = NewDirectory();
        Grow(*first->children[name], budget, 1, 0.5);
    }
    // The second tree holds twins of some of the first one's directories,
    // changed here and there, so copies and moves meet existing entries.
    auto second = NewDirectory();
    second->mode = 0755;
    second->comment.clear();
    for (const auto& [name, child] : first->children) {
        if (name == "big tree" || !child->IsDirectory() || !random_.Chance(0.5))
            continue;
        auto twin = child->Clone();
        for (auto& [entryName, entry] : twin->children) {
            if (entry->kind == ModelNode::Kind::File && random_.Chance(0.3)) {
                entry->content = nextContent_++;
                entry->comment =
                    random_.Chance(0.5) && entryName != ":THIS_DIR:" ? CommentText() : "";
            } else if (entry->IsDirectory() && options_.Has("dir-onto-file") &&
                       random_.Chance(0.2)) {
                // A link where the first tree has a directory of that name.
                entry = std::make_unique<ModelNode>();
                entry->kind = ModelNode::Kind::Link;
                entry->toDirectory = true;
                entry->target = outsideDirectory_;
            }
        }
        second->children[name] = std::move(twin);
        twins_.emplace_back(base_ + "/first/" + name, secondBase_ + "/second/" + name);
    }
    size_t small = options_.entries / 20;
    Grow(*second, small, 1, 0.5);

    std::string firstRoot = base_ + "/first";
    std::string secondRoot = secondBase_ + "/second";
    if (::mkdir(outside.c_str(), 0755) != 0 || ::mkdir(firstRoot.c_str(), 0755) != 0 ||
        ::mkdir(secondRoot.c_str(), 0755) != 0 || !WriteModelTree(outside, *outsideNode) ||
        !WriteModelTree(firstRoot, *first) || !WriteModelTree(secondRoot, *second))
        return false;
    model_.AddRoot(outside, std::move(outsideNode));
    model_.AddRoot(firstRoot, std::move(first));
    model_.AddRoot(secondRoot, std::move(second));
    work_ = {firstRoot, secondRoot};
    return true;
}

std::vector<std::string> SeedRun::Directories() const {
    std::vector<std::string> directories = work_;
    model_.ForEach([&](const std::string& path, ModelNode& node) {
        if (node.IsDirectory() && !IsBelow(path, model_.Roots()[0]))
            directories.push_back(path);
    });
    return directories;
}

std::vector<std::string> SeedRun::Entries() const {
    std::vector<std::string> entries;
    model_.ForEach([&](const std::string& path, ModelNode&) {
        if (!IsBelow(path, model_.Roots()[0]))
            entries.push_back(path);
    });
    return entries;
}

std::string SeedRun::Short(const std::string& path) const {
    for (const std::string& root : model_.Roots())
        if (path.compare(0, root.size(), root) == 0)
            return Printable(NameOf(root) + path.substr(root.size()));
    return Printable(path);
}

std::string SeedRun::WithoutRoots(std::string text) const {
    for (const std::string& root : model_.Roots())
        for (size_t at; (at = text.find(root)) != std::string::npos;)
            text.replace(at, root.size(), NameOf(root));
    return text;
}

std::string SeedRun::ShortList(const std::vector<std::string>& paths) const {
    std::string text;
    for (const std::string& p : paths)
        text += (text.empty() ? "" : ", ") + Short(p);
    return text;
}

bool SeedRun::PickItems(std::vector<std::string>& items, size_t limit) {
    std::vector<std::string> directories = Directories();
    for (int attempt = 0; attempt < 50; ++attempt) {
        const std::string& directory = random_.Pick(directories);
        const ModelNode* node = model_.Find(directory);
        if (node->children.empty())
            continue;
        items.clear();
        size_t count = 1 + random_.Below(3);
        for (size_t i = 0; i < count; ++i) {
            auto it = node->children.begin();
            std::advance(it, random_.Below(node->children.size()));
            std::string item = JoinModelPath(directory, it->first);
            if (it->second->Count() <= limit &&
                std::find(items.begin(), items.end(), item) == items.end())
                items.push_back(item);
        }
        if (!items.empty())
            return true;
    }
    return false;
}

bool SeedRun::MakesCaseTwins(const ModelNode& source, const ModelNode& target) const {
    for (const auto& [name, child] : source.children) {
        for (const auto& [targetName, targetChild] : target.children)
            if (targetName != name && Fold(targetName) == Fold(name))
                return true;
        auto it = target.children.find(name);
        if (child->IsDirectory() && it != target.children.end() && it->second->IsDirectory() &&
            MakesCaseTwins(*child, *it->second))
            return true;
    }
    return false;
}

bool SeedRun::Acceptable(const std::vector<std::string>& items, const std::string& destination,
                         bool move) const {
    const std::string source = ParentOf(items.front());
    if (destination == source)
        return false;
    for (const std::string& item : items)
        if (destination == item || IsBelow(destination, item))
            return false;
    if (!options_.Has("dir-onto-file"))
        for (const TreeModel::Row& row : model_.TransferRows(items, destination))
            if (row.conflict && !model_.Find(row.path)->IsDirectory())
                return false;
    if (!options_.Has("case-twins")) {
        ModelNode both; // the items as one directory, to compare with the destination
        for (const std::string& item : items)
            both.children[NameOf(item)] = model_.Find(item)->Clone();
        if (MakesCaseTwins(both, *model_.Find(destination)))
            return false;
    }
    if (move && !options_.Has("big-moves")) {
        // Entry by entry: into an existing directory, or to the other file system.
        bool sameFileSystem = secondBase_ == base_ || InSecond(source) == InSecond(destination);
        size_t walked = 0;
        for (const std::string& item : items)
            if (model_.Find(item)->IsDirectory() &&
                (!sameFileSystem || model_.Find(JoinModelPath(destination, NameOf(item)))))
                walked += model_.Find(item)->Count();
        if (walked > 4000)
            return false;
    }
    return true;
}

bool SeedRun::PickTwins(std::vector<std::string>& items, std::string& destination, bool move) {
    auto [from, to] = twins_[random_.Below(twins_.size())];
    if (random_.Chance(0.5))
        std::swap(from, to);
    const ModelNode* source = model_.Find(from);
    const ModelNode* target = model_.Find(to);
    if (!source || !target || !source->IsDirectory() || !target->IsDirectory() ||
        source->children.empty())
        return false;
    items.clear();
    if (NameOf(from) == NameOf(to) && source->Count() <= 1500 && random_.Chance(0.5)) {
        // The whole directory onto its copy.
        items = {from};
        destination = ParentOf(to);
        return Acceptable(items, destination, move);
    }
    for (size_t i = 1 + random_.Below(3); i > 0; --i) {
        auto it = source->children.begin();
        std::advance(it, random_.Below(source->children.size()));
        std::string item = JoinModelPath(from, it->first);
        if (it->second->Count() <= 1500 &&
            std::find(items.begin(), items.end(), item) == items.end())
            items.push_back(item);
    }
    destination = to;
    return !items.empty() && Acceptable(items, destination, move);
}

// The source of a target path of a copy or move.
std::string SourceOf(const std::vector<std::string>& items, const std::string& destination,
                     const std::string& target) {
    for (const std::string& item : items) {
        std::string itemTarget = JoinModelPath(destination, NameOf(item));
        if (target == itemTarget || IsBelow(target, itemTarget))
            return item + target.substr(itemTarget.size());
    }
    return {};
}

bool SeedRun::Transfer(bool move, bool big) {
    std::vector<std::string> items;
    std::string destination;
    size_t total = model_.Find(work_[0])->Count() + model_.Find(work_[1])->Count();
    if (big) {
        // The big tree goes to the other root as a whole.
        for (size_t i = 0; i < 2 && items.empty(); ++i)
            if (model_.Find(work_[i] + "/big tree")) {
                items = {work_[i] + "/big tree"};
                destination = work_[1 - i];
            }
        if (items.empty() || !Acceptable(items, destination, move))
            return true;
    } else if (!twins_.empty() && random_.Chance(0.35) && PickTwins(items, destination, move)) {
        // Between two copies of one directory: many overwrites, comments
        // that differ here and there.
    } else {
        size_t limit = !move && total > options_.entries * 2 ? 20 : 1500;
        std::vector<std::string> directories = Directories();
        bool found = false;
        for (int attempt = 0; attempt < 40 && !found; ++attempt) {
            if (!PickItems(items, limit))
                return true;
            // Often where the same name is already, for overwrites and merges.
            // Now and then where that name is of another kind.
            std::vector<std::string> holding, otherKind;
            bool isDirectory = model_.Find(items.front())->IsDirectory();
            for (const std::string& d : directories) {
                auto it = model_.Find(d)->children.find(NameOf(items.front()));
                if (it == model_.Find(d)->children.end())
                    continue;
                holding.push_back(d);
                if (it->second->IsDirectory() != isDirectory)
                    otherKind.push_back(d);
            }
            if (!otherKind.empty() && random_.Chance(0.3))
                holding = otherKind;
            for (int tries = 0; tries < 5 && !found; ++tries) {
                destination = !holding.empty() && random_.Chance(0.6) ? random_.Pick(holding)
                                                                      : random_.Pick(directories);
                found = Acceptable(items, destination, move);
            }
        }
        if (!found)
            return true;
    }

    std::vector<TreeModel::Row> rows = model_.TransferRows(items, destination);
    int answers = options_.Has("skip") ? static_cast<int>(random_.Below(3)) : 0;
    std::map<std::string, bool> decisions;
    std::set<std::string> skipped;
    for (const TreeModel::Row& row : rows) {
        bool execute = !row.conflict && (answers == 0 || (answers == 2 && random_.Chance(0.5)));
        if (execute && !options_.Has("replaced-comment") &&
            !model_.Find(row.path)->comment.empty() &&
            model_.Find(SourceOf(items, destination, row.path))->comment.empty()) {
            if (!options_.Has("skip"))
                return true;
            execute = false;
        }
        decisions[row.path] = execute;
        if (!execute)
            skipped.insert(row.path);
    }
    static const char* const answerNames[] = {"Yes to all", "Skip all", "some skipped"};
    step_ = std::string(move ? "move " : "copy ") + ShortList(items) + " into " +
            Short(destination) + " (" + std::to_string(rows.size()) + " overwrites, " +
            (rows.empty() ? "none asked" : answerNames[answers]) + ")";

    if (!move) {
        for (const std::string& item : items)
            if (model_.Find(item)->IsDirectory())
                twins_.emplace_back(item, JoinModelPath(destination, NameOf(item)));
        if (twins_.size() > 64)
            twins_.erase(twins_.begin());
    }
    FileOperationRequest request;
    request.items = items;
    request.destination = destination;
    request.kind = move ? OpMove : OpCopy;
    bool ran = Operate(request, decisions, {});
    model_.Transfer(items, destination, move, skipped);
    return ran;
}

bool SeedRun::Delete() {
    std::vector<std::string> items;
    if (!PickItems(items, 2000))
        return true;
    std::vector<std::string> rows = model_.DeleteRows(items);
    int answers = static_cast<int>(random_.Below(3));
    std::map<std::string, bool> decisions;
    std::set<std::string> skipped;
    for (const std::string& row : rows) {
        bool execute = answers == 0 || (answers == 2 && random_.Chance(0.5));
        decisions[row] = execute;
        if (!execute)
            skipped.insert(row);
    }
    step_ = "delete " + ShortList(items) + " (" + std::to_string(rows.size()) + " hidden, " +
            (answers == 0   ? "all deleted"
             : answers == 1 ? "all kept"
                            : "some kept") +
            ")";
    // What holds a skipped entry stays, and nobody is asked about that.
    FileOperationRequest request;
    request.items = items;
    request.kind = OpDelete;
    bool ran = Operate(request, decisions, {});
    model_.Delete(items, skipped);
    return ran;
}

bool SeedRun::Rename() {
    std::vector<std::string> entries = Entries();
    if (entries.empty())
        return true;
    std::string path = random_.Pick(entries);
    const ModelNode* parent = model_.Find(ParentOf(path));
    std::string name = NewName(*parent);
    if (options_.Has("case-twins") && random_.Chance(0.2) &&
        SwapCase(NameOf(path)) != NameOf(path) && SwapCase(NameOf(path)) != "dir_info.orb" &&
        !parent->children.count(SwapCase(NameOf(path))))
        name = SwapCase(NameOf(path)); // only the letter case changes
    std::string target = JoinModelPath(ParentOf(path), name);
    step_ = "rename " + Short(path) + " to " + Printable(name);
    if (!RenameWithComment(path, target))
        differences_.push_back("the rename failed");
    model_.Rename(path, name);
    return true;
}

bool SeedRun::Comment() {
    std::vector<std::string> entries = Entries();
    if (entries.empty())
        return true;
    std::string path = random_.Pick(entries);
    if (!twins_.empty() && random_.Chance(0.5)) {
        // Inside a directory that has a copy, so the two differ.
        const std::string& twin = random_.Chance(0.5) ? twins_.back().first : twins_.back().second;
        std::vector<std::string> inside;
        for (const std::string& entry : entries)
            if (IsBelow(entry, twin))
                inside.push_back(entry);
        if (!inside.empty())
            path = random_.Pick(inside);
    }
    std::string text = random_.Chance(0.3) ? std::string() : CommentText();
    step_ = (text.empty() ? "clear the comment of " : "comment ") + Short(path) +
            (text.empty() ? "" : " \"" + Printable(text) + "\"");
    if (SetComment(path, text)) {
        model_.SetComment(path, text);
    } else if (NameOf(path) != ":THIS_DIR:") {
        // Only a name that cannot be told from the directory's own key may be refused.
        differences_.push_back("the comment could not be stored");
        model_.SetComment(path, text);
    }
    return true;
}

bool SeedRun::Operate(const FileOperationRequest& request,
                      const std::map<std::string, bool>& decisions,
                      const std::set<std::string>& stay) {
    ScriptedOperationUi ui;
    ui.onProblems = [&](QTable& rows) {
        for (int i = 0; i < rows.GetRecordCount(); ++i) {
            auto it = decisions.find(rows.GetText("Path", i));
            bool execute = it != decisions.end() && it->second;
            rows.SetValue("Execute", i, QValue(execute, QVT_BOOL));
        }
        return true;
    };
    std::vector<std::string> expectedQuestions;
    ui.onError = [&](const std::string& text) {
        // A directory that keeps a skipped hidden file cannot go: asked,
        // and Ignore leaves it.
        const std::string prefix = "I couldn't delete ", suffix = " !\n\n\nContinue ?";
        if (text.starts_with(prefix) && text.ends_with(suffix) &&
            stay.count(text.substr(prefix.size(), text.size() - prefix.size() - suffix.size()))) {
            expectedQuestions.push_back(text);
            return ErrorAnswer::Ignore;
        }
        return ErrorAnswer::Abort;
    };
    FileOperationResult result = RunFileOperation(request, ui);

    std::vector<std::string> want;
    for (const auto& [path, execute] : decisions)
        want.push_back(path);
    std::vector<std::string> asked = ui.problemRows;
    std::sort(asked.begin(), asked.end());
    for (const std::string& path : want)
        if (!std::binary_search(asked.begin(), asked.end(), path))
            differences_.push_back("not asked about overwriting or deleting " + Short(path));
    for (const std::string& path : asked)
        if (!decisions.count(path))
            differences_.push_back("asked about " + Short(path) + ", which it should not touch");
    for (const std::string& question : ui.questions)
        if (std::find(expectedQuestions.begin(), expectedQuestions.end(), question) ==
            expectedQuestions.end())
            differences_.push_back("asked: " + Printable(question));
    for (const std::string& message : ui.messages)
        differences_.push_back("said: " + Printable(message));
    if (result.end != OperationEnd::Completed)
        differences_.push_back("did not complete (" + std::to_string(static_cast<int>(result.end)) +
                               ")");
    return true;
}

bool SeedRun::Run() {
    TestDirectory directory;
    // The second root lives on a file system of its own when one can be
    // mounted, so moves between the roots copy and delete.
    std::optional<TmpfsMount> first;
    if (options_.tmpfs)
        first.emplace("1g");
    TmpfsMount second("1g");
    base_ = first && first->Mounted() ? first->Path() : directory.Path();
    secondBase_ = second.Mounted() ? second.Path() : base_;
    if (base_.empty() || !Build()) {
        std::cout << "seed " << seed_ << ": the tree could not be made\n";
        return false;
    }
    checker_.directoryStamps = options_.Has("dir-stamps");
    checker_.LearnTimes(model_);
    std::vector<std::string> start = checker_.Compare(model_);
    if (!start.empty()) {
        std::cout << "seed " << seed_ << ": the tree as made differs from its model: " << start[0]
                  << "\n";
        return false;
    }
    for (int step = 1; step <= options_.steps; ++step) {
        differences_.clear();
        step_.clear();
        auto started = std::chrono::steady_clock::now();
        size_t kind = random_.Below(100);
        bool big = options_.Has("big-moves") && random_.Chance(0.04);
        if (big)
            Transfer(true, true);
        else if (kind < 25)
            Transfer(false, false);
        else if (kind < 50)
            Transfer(true, false);
        else if (kind < 64)
            Delete();
        else if (kind < 78)
            Rename();
        else
            Comment();
        if (step_.empty())
            continue; // nothing fitting was found
        auto checked = std::chrono::steady_clock::now();
        std::vector<std::string> disk = checker_.Compare(model_);
        differences_.insert(differences_.end(), disk.begin(), disk.end());
        if (options_.verbose)
            std::cout << "seed " << seed_ << " step " << step << ": " << step_ << " ("
                      << Milliseconds(started, checked) << " + "
                      << Milliseconds(checked, std::chrono::steady_clock::now())
                      << " ms to check)\n";
        if (!differences_.empty()) {
            std::cout << "FAILED seed " << seed_ << " step " << step << ": " << step_ << "\n";
            for (size_t i = 0; i < differences_.size() && i < 8; ++i)
                std::cout << "  " << WithoutRoots(differences_[i]) << "\n";
            return false;
        }
        checker_.LearnTimes(model_);
    }
    std::cout << "seed " << seed_ << ": " << options_.steps << " steps, "
              << model_.Find(work_[0])->Count() + model_.Find(work_[1])->Count()
              << " entries at the end, no difference\n";
    return true;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string value = i + 1 < argc ? argv[i + 1] : "";
        auto list = [](const std::string& text) {
            std::vector<std::string> parts;
            std::stringstream in(text);
            for (std::string part; std::getline(in, part, ',');)
                if (!part.empty())
                    parts.push_back(part);
            return parts;
        };
        if (arg == "--verbose" || arg == "--tmpfs") {
            (arg == "--verbose" ? options.verbose : options.tmpfs) = true;
            continue;
        }
        if (value.empty())
            return false;
        ++i;
        if (arg == "--seeds") {
            options.seeds.clear();
            for (const std::string& s : list(value))
                options.seeds.push_back(std::stoull(s));
        } else if (arg == "--steps") {
            options.steps = std::stoi(value);
        } else if (arg == "--entries") {
            options.entries = std::stoul(value);
        } else if (arg == "--avoid") {
            for (const std::string& feature : list(value)) {
                if (std::find(std::begin(kFeatures), std::end(kFeatures), feature) ==
                    std::end(kFeatures)) {
                    std::cerr << "unknown feature: " << feature << "\n";
                    return false;
                }
                options.avoid.insert(feature);
            }
        } else {
            return false;
        }
    }
    return !options.seeds.empty() && options.steps > 0 && options.entries >= 100;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    try {
        if (!ParseOptions(argc, argv, options)) {
            std::cerr << "usage: tree_model_test [--seeds 1,2,3] [--steps N] [--entries N] "
                         "[--avoid feature,...] [--verbose]\n";
            return 2;
        }
    } catch (const std::exception&) {
        std::cerr << "bad number in the arguments\n";
        return 2;
    }
    int failed = 0;
    for (uint64_t seed : options.seeds)
        failed += SeedRun(seed, options).Run() ? 0 : 1;
    if (failed)
        std::cout << failed << " of " << options.seeds.size() << " seeds failed\n";
    return failed ? 1 : 0;
}
