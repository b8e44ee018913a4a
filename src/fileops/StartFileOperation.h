#pragma once

#include "fileops/FileOperationRequest.h"
#include "fileops/FileOperationRun.h"
#include "fileops/FileOperationUi.h"

#include <functional>
#include <memory>
#include <thread>

namespace orvo {

// Runs a request on a thread of its own and returns at once; several may
// run at the same time. The ui is shared with the thread, which keeps it
// alive until the run is over; finished is called on that thread with the
// result. The caller joins the returned thread.
std::thread StartFileOperation(FileOperationRequest request, std::shared_ptr<FileOperationUi> ui,
                               std::function<void(const FileOperationResult&)> finished);

} // namespace orvo
