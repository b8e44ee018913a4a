#pragma once

#include <string>
#include <vector>

namespace orvo {

// What a copy, move or delete is asked to do. The numbers are the ones
// every caller has always passed; 2 has never meant anything.
enum OpKind : int {
    OpCopy = 0,
    OpMove = 1,
    OpDelete = 3,
};

struct FileOperationRequest {
    // Full paths of the top-level items, in the caller's order.
    std::vector<std::string> items;
    // The destination directory; empty for a delete.
    std::string destination;
    int kind = OpCopy;
    // 1: count the sizes and look for problems first; 0: go straight on
    // (the clean-up of temporary directories).
    int checkFirst = 1;
};

} // namespace orvo
