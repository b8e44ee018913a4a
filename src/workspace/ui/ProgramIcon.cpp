#include "workspace/ui/ProgramIcon.h"

namespace orvo {

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 22, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/orvo-browser-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace orvo
