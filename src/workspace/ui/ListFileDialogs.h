#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace orvo {

// The file dialogs of the "&List" menu, replaceable so tests can answer
// them. Each returns the chosen path, or "" when cancelled.
enum class ListFileDialog { Open, SaveAs, Export };

QString AskListFileName(QWidget* parent, ListFileDialog kind, const QString& proposed);

// Installs an answerer (empty: the real dialogs again).
void SetListFileDialogAnswerer(std::function<QString(ListFileDialog, const QString&)> answerer);

} // namespace orvo
