#include "platform/ui/SaveQuestion.h"

#include "platform/SaveTarget.h"
#include "platform/ui/QtText.h"
#include "platform/ui/UserPrompt.h"

namespace orvo {

std::optional<ReadOnlyFiles> AskBeforeSavingOver(QWidget* parent, const std::string& path) {
    const SaveTarget target = ResolveSaveTarget(path);
    if (target.state != SaveTarget::State::ReadOnly)
        return ReadOnlyFiles::Refuse;
    const QString text =
        target.throughLink
            ? QStringLiteral("%1 is a link to the read-only file %2.\nDo you want to replace it ?")
                  .arg(PathToQ(path), PathToQ(target.path))
            : QStringLiteral("%1 is read-only.\nDo you want to replace it ?").arg(PathToQ(path));
    if (!UserPrompt::AskYesNo(parent, text, QStringLiteral("Confirmation ")))
        return std::nullopt;
    return ReadOnlyFiles::Replace;
}

} // namespace orvo
