#include "search/ui/SearchClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

namespace orvo {

void PutFilesOnClipboard(const QStringList& paths) {
    QList<QUrl> urls;
    QByteArray gnome("copy");
    for (const QString& p : paths) {
        QUrl url = QUrl::fromLocalFile(p);
        urls << url;
        gnome += '\n' + url.toEncoded();
    }
    auto* mime = new QMimeData;
    mime->setUrls(urls);
    mime->setData(QStringLiteral("x-special/gnome-copied-files"), gnome);
    mime->setData(QStringLiteral("application/x-kde-cutselection"), QByteArray("0"));
    QGuiApplication::clipboard()->setMimeData(mime);
}

void PutLinesOnClipboard(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    QGuiApplication::clipboard()->setText(text);
}

} // namespace orvo
