#include "fileops/RegisteredOperations.h"

#include <deque>
#include <mutex>
#include <unordered_set>

namespace orvo {

namespace {

constexpr size_t kLimit = 10000;
constexpr size_t kTrim = 100;

struct Registry {
    std::mutex mutex;
    std::deque<std::string> order;
    std::unordered_set<std::string> members;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

} // namespace

void RegisterOperationPath(const std::string& path) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.mutex);
    if (!r.members.insert(path).second)
        return;
    r.order.push_back(path);
    if (r.order.size() > kLimit) {
        for (size_t i = 0; i < kTrim && !r.order.empty(); ++i) {
            r.members.erase(r.order.front());
            r.order.pop_front();
        }
    }
}

bool IsRegisteredOperationPath(const std::string& path) {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.mutex);
    return r.members.count(path) != 0;
}

std::vector<std::string> RegisteredOperationPaths() {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.mutex);
    return {r.order.begin(), r.order.end()};
}

size_t RegisteredOperationCount() {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.mutex);
    return r.order.size();
}

void ClearRegisteredOperationPaths() {
    Registry& r = TheRegistry();
    std::lock_guard<std::mutex> guard(r.mutex);
    r.order.clear();
    r.members.clear();
}

} // namespace orvo
