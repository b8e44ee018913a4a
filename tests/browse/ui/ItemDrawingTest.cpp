#include "browse/ui/BackgroundLoader.h"
#include "browse/ui/BrowseBackground.h"
#include "browse/ui/BrowseHover.h"
#include "browse/ui/COrvoBrowserView.h"
#include "browse/ui/ViewTableModel.h"
#include "comments/PathComments.h"
#include "image/ImageFile.h"
#include "platform/ui/UserPrompt.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionKeys.h"
#include "settings/OptionTables.h"
#include "settings/OptionsStore.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace orvo;

namespace {

void WritePhoto(const QString& path, int width, int height, int seed) {
    RasterImage image;
    QVERIFY(image.Create(width, height, 24));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.SetPixelColor(x, y,
                                MakeRgb(static_cast<uint8_t>(x * 255 / width),
                                        static_cast<uint8_t>(seed * 37),
                                        static_cast<uint8_t>(y * 255 / height)));
    QVERIFY(SaveImage(image, path.toStdString()));
}

void Touch(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

int RowNamed(COrvoBrowserView& view, const QString& name) {
    for (int i = 0; i < view.Model()->rowCount(); ++i)
        if (view.Model()->FullName(i) == name)
            return i;
    return -1;
}

QString Message(const QString& path) {
    return "Damaged image causing exception found : " + path +
           ". Exception handled. Press ok. to continue.";
}

} // namespace

class ItemDrawingTest : public QObject {
    Q_OBJECT

    QTemporaryDir home_;
    QTemporaryDir cache_;
    QTemporaryDir photos_;

private slots:
    void initTestCase() {
        qputenv("ORVO_HOME", home_.path().toUtf8());
        qputenv("XDG_CACHE_HOME", cache_.path().toUtf8());
        LoadOptions(OptionsFilePath(home_.path().toStdString()));
        for (int i = 0; i < 24; ++i)
            WritePhoto(photos_.path() +
                           QStringLiteral("/photo_%1.jpg").arg(i, 2, 10, QLatin1Char('0')),
                       640, 480, i);
        QDir(photos_.path()).mkdir("album");
    }

    void groupExtensionsAreCompletedAtTheFirstDraw() {
        QTable& groups = *GetOptionsDatabase().GetTable(kFileGroupsTable);
        QRecord group = groups.NewRecord();
        group.SetValue("Group name", QValue(std::string_view("Test group")));
        group.SetValue("Extensions", QValue(std::string_view("qzx,Qzy")));
        group.SetValue("Color", QValue(std::string_view("Red")));
        const int row = static_cast<int>(groups.AddRecord(group));
        RgbColor red;
        QVERIFY(GetColorByName("Red", red));

        QTemporaryDir dir;
        Touch(dir.path() + "/sample.QZY", "x");
        COrvoBrowserView view;
        view.resize(700, 300);
        view.Navigate(dir.path().toStdString());
        QCOMPARE(groups.GetText("Extensions", row), std::string("qzx,Qzy")); // not drawn yet
        const QImage shot = view.grab().toImage();
        QCOMPARE(groups.GetText("Extensions", row), std::string(",qzx,Qzy,"));

        // The file's name is drawn in the group's colour.
        QAbstractItemView* list = view.CurrentList();
        const QRect cell = list->visualRect(
            view.Model()->index(RowNamed(view, "sample.QZY"), ViewTableModel::NameColumn));
        const QRect inShot(list->viewport()->mapTo(&view, cell.topLeft()), cell.size());
        bool found = false;
        for (int y = inShot.top(); y <= inShot.bottom() && !found; ++y)
            for (int x = inShot.left(); x <= inShot.right() && !found; ++x)
                found = shot.pixelColor(x, y) == QColor(red.red, red.green, red.blue);
        QVERIFY(found);
        groups.DeleteRecord(row);
    }

    void parentEntryIsNeverBracketed() {
        SetBoolOption(kBracketDirectoriesKey, true);
        COrvoBrowserView view;
        view.Navigate(photos_.path().toStdString());
        const QModelIndex parent = view.Model()->index(0, ViewTableModel::NameColumn);
        QCOMPARE(view.Model()->data(parent, Qt::DisplayRole).toString(), QString(".."));
        const QModelIndex album =
            view.Model()->index(RowNamed(view, "album"), ViewTableModel::NameColumn);
        QCOMPARE(view.Model()->data(album, Qt::DisplayRole).toString(), QString("[album]"));
        QCOMPARE(view.Model()->data(album, Qt::EditRole).toString(),
                 QString("album")); // renaming edits the name
        SetBoolOption(kBracketDirectoriesKey, false);
        QCOMPARE(view.Model()->data(album, Qt::DisplayRole).toString(), QString("album"));
    }

    void thumbnailCaptionRisesAndReturnsToTheTitle() {
        COrvoBrowserView view;
        view.resize(600, 400);
        view.show();
        QSignalSpy titles(&view, &COrvoBrowserView::TitleChanged);
        view.Navigate(photos_.path().toStdString());
        view.SetViewMode(COrvoBrowserView::ViewMode::Thumbnails);
        QTRY_VERIFY_WITH_TIMEOUT(view.Loader()->AllLoaded(), 30000);
        QCOMPARE(view.Loader()->ThumbnailCount(), size_t{24});
        QVERIFY(!view.Loader()->Thumbnail(RowNamed(view, "photo_05.jpg")).isNull());
        QVERIFY(view.Loader()->Thumbnail(RowNamed(view, "album")).isNull());
        QCOMPARE(view.Loader()->Thumbnail(RowNamed(view, "photo_05.jpg")).size(), QSize(96, 72));

        int last = -1;
        QStringList progress;
        for (const QList<QVariant>& signal : titles) {
            const QString caption = signal.at(0).toString();
            const QRegularExpressionMatch m =
                QRegularExpression(QRegularExpression::escape(view.DocumentTitle()) +
                                   " : (\\d+) % done \\(.+\\)$")
                    .match(caption);
            if (m.hasMatch()) {
                QVERIFY(m.captured(1).toInt() >= last);
                last = m.captured(1).toInt();
                progress << caption;
            }
        }
        QVERIFY(!progress.isEmpty());
        QCOMPARE(last, 100);
        QCOMPARE(titles.last().at(0).toString(), view.DocumentTitle());
    }

    void switchingToDetailsWhileLoadingLoadsIconsOnly() {
        QTemporaryDir cold; // an empty cache, so the thumbnails take a while
        qputenv("XDG_CACHE_HOME", cold.path().toUtf8());
        COrvoBrowserView view;
        view.resize(600, 400);
        view.show();
        view.Navigate(photos_.path().toStdString());
        view.SetViewMode(COrvoBrowserView::ViewMode::Thumbnails);
        const uint64_t thumbnailGeneration = view.Loader()->Generation();
        QVERIFY(view.Loader()->ThumbnailsPending() > 0);
        QSignalSpy titles(&view, &COrvoBrowserView::TitleChanged);
        view.SetViewMode(COrvoBrowserView::ViewMode::Details);
        QVERIFY(view.Loader()->Generation() > thumbnailGeneration);
        QVERIFY(!view.Loader()->ThumbnailMode());
        QCOMPARE(view.Loader()->ThumbnailsPending(), size_t{0});
        QTRY_VERIFY(view.Loader()->AllLoaded());
        QTest::qWait(300); // pictures still under way when the mode changed are dropped
        QCOMPARE(view.Loader()->ThumbnailCount(), size_t{0});
        QVERIFY(!view.Loader()->Icon(RowNamed(view, "photo_03.jpg")).isNull());
        QCOMPARE(titles.last().at(0).toString(), view.DocumentTitle());
        qputenv("XDG_CACHE_HOME", cache_.path().toUtf8());
    }

    void aRebuiltListingNeverShowsTheOldPictures() {
        QTemporaryDir other;
        WritePhoto(other.path() + "/only.jpg", 300, 200, 1);
        COrvoBrowserView view;
        view.SetViewMode(COrvoBrowserView::ViewMode::Thumbnails);
        view.Navigate(photos_.path().toStdString());
        view.Navigate(other.path().toStdString());
        QTRY_VERIFY(view.Loader()->AllLoaded());
        QTest::qWait(300);
        QCOMPARE(view.Loader()->ThumbnailCount(), size_t{1});
        QVERIFY(!view.Loader()->Thumbnail(RowNamed(view, "only.jpg")).isNull());
    }

    void thumbnailsBeyondTheMemoryLimitAreMadeAgainWhenDrawn() {
        COrvoBrowserView view;
        view.Loader()->SetThumbnailMemoryLimit(5 * 96 * 72 * 4);
        view.SetViewMode(COrvoBrowserView::ViewMode::Thumbnails);
        view.Navigate(photos_.path().toStdString());
        QTRY_VERIFY(view.Loader()->AllLoaded());
        QVERIFY(view.Loader()->ThumbnailCount() <= 5);
        QVERIFY(view.Loader()->ThumbnailCount() >= 3);
        const int first = RowNamed(view, "photo_00.jpg");
        QVERIFY(view.Loader()->Thumbnail(first).isNull()); // let go, and asked for again
        QTRY_VERIFY(!view.Loader()->Thumbnail(first).isNull());
        QVERIFY(view.Loader()->ThumbnailCount() <= 5);
    }

    void aDamagedPictureIsReportedOnceAndKeepsItsIcon() {
        ScriptedPrompt prompt;
        QTemporaryDir dir;
        const QString broken = dir.path() + "/broken.jpg";
        Touch(broken, QByteArray(4000, 'Z'));
        WritePhoto(dir.path() + "/fine.jpg", 200, 100, 3);
        COrvoBrowserView view;
        view.SetViewMode(COrvoBrowserView::ViewMode::Thumbnails);
        view.Navigate(dir.path().toStdString());
        QTRY_VERIFY(view.Loader()->AllLoaded());
        QTRY_COMPARE(prompt.asked.count(Message(broken)), 1);
        QVERIFY(view.Loader()->Thumbnail(RowNamed(view, "broken.jpg")).isNull());
        QVERIFY(!view.Loader()->Icon(RowNamed(view, "broken.jpg")).isNull());
        QVERIFY(!view.Loader()->Thumbnail(RowNamed(view, "fine.jpg")).isNull());

        // Loading again (another size, another window) asks no more.
        view.ChangeThumbnailSize(16);
        QTRY_VERIFY(view.Loader()->AllLoaded());
        COrvoBrowserView second;
        second.SetViewMode(COrvoBrowserView::ViewMode::Thumbnails);
        second.Navigate(dir.path().toStdString());
        QTRY_VERIFY(second.Loader()->AllLoaded());
        QTest::qWait(50);
        QCOMPARE(prompt.asked.count(Message(broken)), 1);
    }

    void ctrlNumpadKeysResizeThumbnailsAndFont() {
        COrvoBrowserView view;
        view.show();
        view.SetViewMode(COrvoBrowserView::ViewMode::Thumbnails);
        view.Navigate(photos_.path().toStdString());
        QAbstractItemView* list = view.CurrentList();
        const int font = list->fontMetrics().height();
        QTest::keyClick(list, Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
        QCOMPARE(view.ThumbnailSize(), 112);
        QVERIFY(list->fontMetrics().height() >= font);
        QCOMPARE(list->iconSize(), QSize(112, 112));
        QTRY_VERIFY(view.Loader()->AllLoaded());
        QCOMPARE(view.Loader()->Thumbnail(RowNamed(view, "photo_01.jpg")).size(), QSize(112, 84));
        QTest::keyClick(list, Qt::Key_Plus, Qt::ControlModifier); // not the keypad's: no change
        QCOMPARE(view.ThumbnailSize(), 112);
        for (int i = 0; i < 12; ++i)
            QTest::keyClick(list, Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier);
        QCOMPARE(view.ThumbnailSize(), 16);
        QVERIFY(list->fontMetrics().height() >= 10);
        QVERIFY(list->fontMetrics().height() < font);
    }

    void hoverTextOfAPicture() {
        const QString path = photos_.path() + "/photo_07.jpg";
        QVERIFY(SetComment(path.toStdString(), "sunset"));
        COrvoBrowserView view;
        view.Navigate(photos_.path().toStdString());
        const QString text = view.Hover().HoverText(RowNamed(view, "photo_07.jpg"));
        QVERIFY2(
            text.startsWith("Comment : sunset\n------------------------------------\nModified : "),
            qPrintable(text));
        QVERIFY2(text.contains("\nAttr      : ,Archive\nType     : "), qPrintable(text));
        QVERIFY2(text.endsWith("\n-----Quick view :\nImage : 640 x 480, X Dpi : 72, Y Dpi : 72, 24 "
                               "Bits per pixel"),
                 qPrintable(text));
        QVERIFY(view.Hover().HoverText(0).isEmpty()); // nothing for ".."
        Touch(photos_.path() + "/tune.WAV", "RIFF");
        view.RebuildView(true, true, false);
        QVERIFY(view.Hover()
                    .HoverText(RowNamed(view, "tune.WAV"))
                    .endsWith("\n-----Quick view :\nPlaying..."));
        QFile::remove(photos_.path() + "/tune.WAV");
    }

    void darkBackgroundPictureIsAnalysed() {
        QTemporaryDir dir;
        RasterImage dark;
        QVERIFY(dark.Create(64, 64, 24));
        dark.FillBits(20);
        QVERIFY(SaveImage(dark, (dir.path() + "/orvoimage.png").toStdString()));
        Touch(dir.path() + "/a.txt", "x");
        COrvoBrowserView view;
        view.Navigate(dir.path().toStdString());
        QTRY_VERIFY(view.Background().Tone().present);
        QCOMPARE(view.Background().Tone().brightness, 20);
        view.Navigate(photos_.path().toStdString());
        QVERIFY(!view.Background().Tone().present);
    }
};

QTEST_MAIN(ItemDrawingTest)
#include "ItemDrawingTest.moc"
