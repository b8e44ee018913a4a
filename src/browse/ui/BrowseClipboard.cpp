#include "browse/ui/BrowseClipboard.h"

#include "browse/ClipboardFileList.h"
#include "platform/ui/QtText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

namespace orvo {

namespace {

const QString kUriList = QStringLiteral("text/uri-list");
const QString kGnomeCopied = QStringLiteral("x-special/gnome-copied-files");
const QString kKdeCut = QStringLiteral("application/x-kde-cutselection");

std::string Bytes(const QByteArray& data) {
    return std::string(data.constData(), static_cast<size_t>(data.size()));
}
QByteArray ToBytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void SetClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

QMimeData* MakeFileListMimeData(const std::vector<std::string>& paths) {
    auto* data = new QMimeData;
    data->setData(kUriList, ToBytes(FormatUriList(paths)));
    data->setData(kGnomeCopied, ToBytes(FormatGnomeCopiedFiles(paths, false)));
    data->setData(kKdeCut, QByteArray("0"));
    QStringList lines;
    for (const std::string& p : paths)
        lines << PathToQ(p);
    data->setText(lines.join(QLatin1Char('\n')));
    return data;
}

void SetClipboardFileList(const std::vector<std::string>& paths) {
    QGuiApplication::clipboard()->setMimeData(MakeFileListMimeData(paths));
}

std::vector<std::string> FileListOf(const QMimeData* data, bool* hasList) {
    if (hasList)
        *hasList = false;
    if (!data)
        return {};
    if (data->hasFormat(kUriList)) {
        if (hasList)
            *hasList = true;
        return ParseUriList(Bytes(data->data(kUriList)));
    }
    if (data->hasFormat(kGnomeCopied)) {
        if (hasList)
            *hasList = true;
        return ParseCopiedFiles(Bytes(data->data(kGnomeCopied)));
    }
    if (data->hasText()) {
        std::vector<std::string> paths = ParseCopiedFiles(QToPath(data->text()));
        if (!paths.empty() && hasList)
            *hasList = true;
        return paths;
    }
    return {};
}

std::vector<std::string> ClipboardFileList(bool* hasList) {
    return FileListOf(QGuiApplication::clipboard()->mimeData(), hasList);
}

} // namespace orvo
