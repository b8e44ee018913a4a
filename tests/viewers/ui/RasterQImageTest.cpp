#include "viewers/ui/RasterQImage.h"

#include <QPainter>
#include <QtTest>

using namespace orvo;

namespace {

// A 3 × 2 picture whose every pixel differs, so a row or channel swap shows.
RasterImage Rgb3x2() {
    RasterImage image;
    image.Create(3, 2, 24);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            image.SetPixelColor(x, y,
                                MakeRgb(uint8_t(10 + x), uint8_t(20 + y), uint8_t(30 + x * y)));
    return image;
}

} // namespace

class RasterQImageTest : public QObject {
    Q_OBJECT

private slots:
    void rgbPixelsLandTopDownWithChannelsInPlace() {
        RasterImage image = Rgb3x2();
        image.SetDpi(300, 150);
        const QImage q = ToQImage(image);
        QCOMPARE(q.size(), QSize(3, 2));
        // The stored bottom row is the picture's last line.
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x) {
                const RgbQuad c = image.GetPixelColor(x, 1 - y);
                QCOMPARE(q.pixel(x, y), qRgb(c.red, c.green, c.blue));
            }
        QCOMPARE(q.dotsPerMeterX(), RasterImage::PelsPerMeter(300));

        RasterImage back;
        QVERIFY(FromQImage(q, back));
        QCOMPARE(back.Bits(), 24);
        QCOMPARE(back.DpiX(), 300);
        QCOMPARE(back.DpiY(), 150);
        for (int y = 0; y < 2; ++y)
            QCOMPARE(std::memcmp(back.Row(y), image.Row(y), 9), 0);
    }

    void palettePicturesKeepIndexesAndPalette() {
        for (int bits : {1, 4, 8}) {
            RasterImage image;
            image.Create(11, 3, bits);
            for (int i = 0; i < image.PaletteSize(); ++i)
                image.Palette()[i] = MakeRgb(uint8_t(i * 7), uint8_t(255 - i), uint8_t(i));
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 11; ++x)
                    image.SetPixelIndex(x, y, uint8_t((x + y * 5) % image.PaletteSize()));
            const QImage q = ToQImage(image);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 11; ++x) {
                    const RgbQuad c = image.GetPixelColor(x, 2 - y);
                    QCOMPARE(q.pixel(x, y), qRgb(c.red, c.green, c.blue));
                }
            RasterImage back;
            QVERIFY(FromQImage(q, back));
            // 4-bit pictures come back as 8-bit ones with the same indexes.
            QCOMPARE(back.Bits(), bits == 1 ? 1 : 8);
            for (int y = 0; y < 3; ++y)
                for (int x = 0; x < 11; ++x)
                    QCOMPARE(back.GetPixelIndex(x, y), image.GetPixelIndex(x, y));
            QCOMPARE(back.Palette()[1], image.Palette()[1]);
        }
    }

    void otherFormatsBecomeRgbOrGrey() {
        QImage argb(2, 1, QImage::Format_ARGB32);
        argb.setPixel(0, 0, qRgba(200, 100, 0, 255));
        argb.setPixel(1, 0, qRgba(0, 0, 0, 0));
        RasterImage image;
        QVERIFY(FromQImage(argb, image));
        QCOMPARE(image.GetPixelColor(0, 0), MakeRgb(200, 100, 0));
        QCOMPARE(image.GetPixelColor(1, 0), MakeRgb(255, 255, 255)); // transparent over white

        QImage grey(2, 1, QImage::Format_Grayscale8);
        grey.setPixel(0, 0, qRgb(77, 77, 77));
        QVERIFY(FromQImage(grey, image));
        QVERIFY(image.IsGreyScale());
        QCOMPARE(image.GetPixelIndex(0, 0), 77);

        QImage indexed(1, 1, QImage::Format_Indexed8);
        indexed.setColorTable({qRgba(0, 0, 0, 0), qRgb(1, 2, 3)});
        indexed.setPixel(0, 0, 1);
        QVERIFY(FromQImage(indexed, image));
        QCOMPARE(image.TransparentIndex(), 0);

        QVERIFY(!FromQImage(QImage(), image));
        QVERIFY(image.IsEmpty());
        QVERIFY(ToQImage(image).isNull());
        QVERIFY(!FromQImage(QImage(kMaxImageSide + 1, 1, QImage::Format_RGB32), image));
    }

    void paintingStretchesWithoutSmoothingAndTiles() {
        RasterImage image;
        image.Create(2, 1, 24);
        image.SetPixelColor(0, 0, MakeRgb(255, 0, 0));
        image.SetPixelColor(1, 0, MakeRgb(0, 0, 255));
        const QImage picture = ToQImage(image);
        QImage canvas(8, 2, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        {
            QPainter painter(&canvas);
            PaintImage(painter, picture, ImageRect{0, 0, 4, 1});
            PaintTiled(painter, picture, ImageRect{0, 1, 5, 1});
        }
        const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), white = qRgb(255, 255, 255);
        const QRgb stretched[8] = {red, red, blue, blue, white, white, white, white};
        const QRgb tiled[8] = {red, blue, red, blue, red, white, white, white};
        for (int x = 0; x < 8; ++x) {
            QCOMPARE(canvas.pixel(x, 0), stretched[x]);
            QCOMPARE(canvas.pixel(x, 1), tiled[x]);
        }
    }
};

QTEST_MAIN(RasterQImageTest)
#include "RasterQImageTest.moc"
