#include "fileops/StartFileOperation.h"

namespace orvo {

std::thread StartFileOperation(FileOperationRequest request, std::shared_ptr<FileOperationUi> ui,
                               std::function<void(const FileOperationResult&)> finished) {
    return std::thread(
        [request = std::move(request), ui = std::move(ui), finished = std::move(finished)]() {
            FileOperationResult result = RunFileOperation(request, *ui);
            if (finished)
                finished(result);
        });
}

} // namespace orvo
