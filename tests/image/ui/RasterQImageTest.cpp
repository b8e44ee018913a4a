#include "image/ui/RasterQImage.h"

#include <QtTest>

using namespace orvo;

class RasterQImageTest : public QObject {
    Q_OBJECT

private slots:
    void everyDepthRoundTripsTopDown() {
        for (int bits : {1, 4, 8, 24}) {
            RasterImage image;
            image.Create(11, 3, bits);
            for (int i = 0; i < image.PaletteSize(); ++i)
                image.Palette()[i] = MakeRgb(uint8_t(i * 7), uint8_t(255 - i), uint8_t(i));
            for (int i = 0; i < 33; ++i)
                image.SetPixelColor(i % 11, i / 11,
                                    MakeRgb(uint8_t(i * 7), uint8_t(255 - i), uint8_t(i)));
            image.SetDpi(300, 150);
            const QImage q = ToQImage(image);
            for (int i = 0; i < 33; ++i) {
                const RgbQuad c = image.GetPixelColor(i % 11, 2 - i / 11); // stored bottom row last
                QCOMPARE(q.pixel(i % 11, i / 11), qRgb(c.red, c.green, c.blue));
            }
            QCOMPARE(q.dotsPerMeterX(), RasterImage::PelsPerMeter(300));
            RasterImage back;
            QVERIFY(FromQImage(q, back));
            QCOMPARE(back.Bits(), bits == 4 ? 8 : bits); // Qt has no 4-bit form
            QCOMPARE(back.DpiY(), 150);
            for (int i = 0; i < 33; ++i) {
                QCOMPARE(back.GetPixelColor(i % 11, i / 11), image.GetPixelColor(i % 11, i / 11));
                QCOMPARE(back.GetPixelIndex(i % 11, i / 11), image.GetPixelIndex(i % 11, i / 11));
            }
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
        QVERIFY(FromQImage(grey, image) && image.IsGreyScale());
        QCOMPARE(image.GetPixelIndex(0, 0), 77);
        QImage indexed(1, 1, QImage::Format_Indexed8);
        indexed.setColorTable({qRgba(0, 0, 0, 0), qRgb(1, 2, 3)});
        QVERIFY(FromQImage(indexed, image));
        QCOMPARE(image.TransparentIndex(), 0);
        QVERIFY(!FromQImage(QImage(kMaxImageSide + 1, 1, QImage::Format_RGB32), image));
        QCOMPARE(image.LastError(), std::string("GetDIBits failed"));
        QVERIFY(image.IsEmpty() && ToQImage(image).isNull());
    }
};

QTEST_MAIN(RasterQImageTest)
#include "RasterQImageTest.moc"
