#include "workspace/ui/ListFileDialogs.h"

#include <QFileDialog>

namespace orvo {

namespace {

std::function<QString(ListFileDialog, const QString&)>& Answerer() {
    static std::function<QString(ListFileDialog, const QString&)> answerer;
    return answerer;
}

const QString kListFilter =
    QStringLiteral("Orvo list files (*.orl);;Text files (*.txt);;All Files (*)");
const QString kTextFilter = QStringLiteral("Text files (*.txt);;All Files (*)");

} // namespace

void SetListFileDialogAnswerer(std::function<QString(ListFileDialog, const QString&)> answerer) {
    Answerer() = std::move(answerer);
}

QString AskListFileName(QWidget* parent, ListFileDialog kind, const QString& proposed) {
    if (Answerer())
        return Answerer()(kind, proposed);
    switch (kind) {
    case ListFileDialog::Open:
        return QFileDialog::getOpenFileName(parent, QStringLiteral("Open"), proposed, kListFilter);
    case ListFileDialog::SaveAs: {
        QString path =
            QFileDialog::getSaveFileName(parent, QStringLiteral("Save as"), proposed, kListFilter);
        // A name typed without an extension becomes a list document.
        if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".orl");
        return path;
    }
    case ListFileDialog::Export:
        return QFileDialog::getSaveFileName(parent, QStringLiteral("Export"), proposed,
                                            kTextFilter);
    }
    return QString();
}

} // namespace orvo
