#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orvo {

// The paths successful operations touched during this run, oldest first,
// for the quick access bar's "Moved\Copied" view. Shared by every
// operation thread and the window thread; each call is atomic.

// Adds path unless it is there (exact comparison); beyond 10000 paths the
// oldest 100 go.
void RegisterOperationPath(const std::string& path);
bool IsRegisteredOperationPath(const std::string& path);

std::vector<std::string> RegisteredOperationPaths();
size_t RegisteredOperationCount();
// Empties the list (a new run, or a test).
void ClearRegisteredOperationPaths();

} // namespace orvo
