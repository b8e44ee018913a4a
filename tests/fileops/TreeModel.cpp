#include "TreeModel.h"

#include <cstring>

namespace orvo::test {

namespace {

uint64_t Mix(uint64_t x) {
    x += 0x9e3779b97f4a7c15ull;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
    return x ^ (x >> 31);
}

std::string ParentOf(const std::string& path) {
    return path.substr(0, path.rfind('/'));
}

std::string NameOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

} // namespace

std::unique_ptr<ModelNode> ModelNode::Clone() const {
    auto copy = std::make_unique<ModelNode>();
    copy->kind = kind;
    copy->content = content;
    copy->size = size;
    copy->target = target;
    copy->toDirectory = toDirectory;
    copy->mode = mode;
    copy->mtime = mtime;
    copy->comment = comment;
    for (const auto& [name, child] : children)
        copy->children.emplace(name, child->Clone());
    return copy;
}

size_t ModelNode::Count() const {
    size_t n = 1;
    for (const auto& entry : children)
        n += entry.second->Count();
    return n;
}

void ContentBytes(uint64_t content, uint64_t offset, char* out, size_t n) {
    while (n > 0) {
        uint64_t block = offset / 8;
        uint64_t word = Mix(content * 0x100000001b3ull ^ Mix(block));
        size_t skip = offset % 8;
        size_t take = std::min(n, 8 - skip);
        std::memcpy(out, reinterpret_cast<const char*>(&word) + skip, take);
        out += take;
        offset += take;
        n -= take;
    }
}

std::string JoinModelPath(const std::string& directory, const std::string& name) {
    return directory + "/" + name;
}

std::string Printable(const std::string& path) {
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : path) {
        if (c >= 0x20 && c < 0x7f && c != '\\') {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

void TreeModel::AddRoot(const std::string& path, std::unique_ptr<ModelNode> node) {
    roots_.push_back(path);
    trees_[path] = std::move(node);
}

ModelNode* TreeModel::Find(const std::string& path) const {
    for (const auto& [root, tree] : trees_) {
        if (path == root)
            return tree.get();
        if (path.size() <= root.size() || path.compare(0, root.size(), root) != 0 ||
            path[root.size()] != '/')
            continue;
        ModelNode* node = tree.get();
        size_t at = root.size() + 1;
        while (node) {
            size_t end = path.find('/', at);
            std::string name = path.substr(at, end == std::string::npos ? end : end - at);
            auto it = node->children.find(name);
            node = it == node->children.end() ? nullptr : it->second.get();
            if (end == std::string::npos)
                return node;
            at = end + 1;
        }
        return nullptr;
    }
    return nullptr;
}

void TreeModel::ForEach(const std::function<void(const std::string&, ModelNode&)>& visit) const {
    std::function<void(const std::string&, ModelNode&)> walk = [&](const std::string& path,
                                                                   ModelNode& node) {
        for (auto& [name, child] : node.children) {
            std::string childPath = JoinModelPath(path, name);
            visit(childPath, *child);
            walk(childPath, *child);
        }
    };
    for (const auto& [root, tree] : trees_)
        walk(root, *tree);
}

void TreeModel::Rows(const ModelNode& source, const ModelNode* target,
                     const std::string& targetPath, std::vector<Row>& rows) const {
    if (!target)
        return;
    if (!source.IsDirectory() || !target->IsDirectory()) {
        rows.push_back({targetPath, source.IsDirectory() != target->IsDirectory()});
        return;
    }
    for (const auto& [name, child] : source.children) {
        auto it = target->children.find(name);
        Rows(*child, it == target->children.end() ? nullptr : it->second.get(),
             JoinModelPath(targetPath, name), rows);
    }
}

std::vector<TreeModel::Row> TreeModel::TransferRows(const std::vector<std::string>& items,
                                                    const std::string& destination) const {
    std::vector<Row> rows;
    for (const std::string& item : items) {
        std::string target = JoinModelPath(destination, NameOf(item));
        Rows(*Find(item), Find(target), target, rows);
    }
    return rows;
}

bool TreeModel::TransferNode(ModelNode& source, ModelNode& parent, const std::string& name,
                             const std::string& targetPath, bool move,
                             const std::set<std::string>& skipped) {
    auto it = parent.children.find(name);
    ModelNode* existing = it == parent.children.end() ? nullptr : it->second.get();
    if (existing && (skipped.count(targetPath) || existing->IsDirectory() != source.IsDirectory()))
        return false; // what cannot be put there is skipped too
    if (!existing || !source.IsDirectory()) {
        // A new directory has the mode and times of its source; a replaced
        // entry is gone with its comment, the new one comes with its own
        // (none included).
        parent.children[name] = source.Clone();
        return true;
    }
    // Into an existing directory: it keeps its mode, and its own comment
    // unless the source has one (the source's comments win).
    if (!source.comment.empty())
        existing->comment = source.comment;
    existing->mtime.reset();
    bool all = true;
    for (auto child = source.children.begin(); child != source.children.end();) {
        bool gone = TransferNode(*child->second, *existing, child->first,
                                 JoinModelPath(targetPath, child->first), move, skipped);
        all = all && gone;
        child = move && gone ? source.children.erase(child) : std::next(child);
    }
    if (move)
        source.mtime.reset();
    return all;
}

void TreeModel::Transfer(const std::vector<std::string>& items, const std::string& destination,
                         bool move, const std::set<std::string>& skipped) {
    ModelNode* target = Find(destination);
    target->mtime.reset();
    for (const std::string& item : items) {
        ModelNode* parent = Find(ParentOf(item));
        auto it = parent->children.find(NameOf(item));
        bool gone = TransferNode(*it->second, *target, it->first,
                                 JoinModelPath(destination, it->first), move, skipped);
        if (move) {
            parent->mtime.reset();
            if (gone)
                parent->children.erase(it);
        }
    }
}

std::vector<std::string> TreeModel::DeleteRows(const std::vector<std::string>& items) const {
    // Dot-names, and everything inside a dot-directory, directories too.
    std::vector<std::string> rows;
    std::function<void(const std::string&, const ModelNode&, bool, bool)> walk =
        [&](const std::string& path, const ModelNode& node, bool top, bool inHidden) {
            bool hidden = inHidden || NameOf(path)[0] == '.';
            if (!top && hidden && NameOf(path) != "dir_info.orb")
                rows.push_back(path);
            if (!node.IsDirectory())
                return;
            for (const auto& [name, child] : node.children)
                walk(JoinModelPath(path, name), *child, false, hidden);
        };
    for (const std::string& item : items) {
        const ModelNode& node = *Find(item);
        if (node.IsDirectory())
            walk(item, node, true, false);
        else if (NameOf(item)[0] == '.')
            rows.push_back(item);
    }
    return rows;
}

bool TreeModel::DeleteNode(ModelNode& node, const std::string& path,
                           const std::set<std::string>& skipped, std::set<std::string>& stay) {
    if (!node.IsDirectory())
        return !skipped.count(path);
    bool all = !skipped.count(path);
    for (auto child = node.children.begin(); child != node.children.end();) {
        bool gone = DeleteNode(*child->second, JoinModelPath(path, child->first), skipped, stay);
        all = all && gone;
        child = gone ? node.children.erase(child) : std::next(child);
    }
    if (!all) {
        // It stays with its own comment and those of what is still in it.
        stay.insert(path);
        node.mtime.reset();
    }
    return all;
}

std::set<std::string> TreeModel::Delete(const std::vector<std::string>& items,
                                        const std::set<std::string>& skipped) {
    std::set<std::string> stay;
    for (const std::string& item : items) {
        ModelNode* parent = Find(ParentOf(item));
        parent->mtime.reset();
        auto it = parent->children.find(NameOf(item));
        if (DeleteNode(*it->second, item, skipped, stay))
            parent->children.erase(it);
    }
    return stay;
}

void TreeModel::Rename(const std::string& path, const std::string& name) {
    ModelNode* parent = Find(ParentOf(path));
    auto it = parent->children.find(NameOf(path));
    std::unique_ptr<ModelNode> node = std::move(it->second);
    parent->children.erase(it);
    // A file named like a directory's own key cannot have a comment: it
    // would be the directory's.
    if (name == ":THIS_DIR:" && !node->IsDirectory())
        node->comment.clear();
    parent->children[name] = std::move(node);
    parent->mtime.reset();
}

void TreeModel::SetComment(const std::string& path, const std::string& comment) {
    ModelNode* node = Find(path);
    if (node->kind == ModelNode::Kind::Link && node->toDirectory) {
        Find(node->target)->comment = comment;
        Touch(node->target);
        return;
    }
    node->comment = comment;
    Touch(node->IsDirectory() ? path : ParentOf(path));
}

std::string TreeModel::VisibleComment(const ModelNode& node) const {
    if (node.kind == ModelNode::Kind::Link && node.toDirectory)
        return Find(node.target)->comment;
    return node.comment;
}

void TreeModel::Touch(const std::string& directory) {
    if (ModelNode* node = Find(directory))
        node->mtime.reset();
}

} // namespace orvo::test
