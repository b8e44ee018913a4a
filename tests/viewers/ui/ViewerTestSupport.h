#pragma once

#include "image/ImageFile.h"
#include "image/RasterImage.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QWidget>
#include <QtEndian>
#include <cstdint>
#include <string>

namespace orvo::test {

inline std::string Std(const QString& s) {
    return s.toStdString();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

// A 24-bit picture whose left half is red and right half blue, saved in the
// format of the path's extension.
inline bool WritePicture(const QString& path, int width, int height, int format = -1) {
    RasterImage image;
    if (!image.Create(width, height, 24))
        return false;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.SetPixelColor(x, y, x < width / 2 ? MakeRgb(255, 0, 0) : MakeRgb(0, 0, 255));
    return SaveImage(image, path.toStdString(), format);
}

// One second of silence: 8 kHz, 16-bit mono PCM.
inline void WriteSilentWav(const QString& path) {
    const uint32_t samples = 8000, dataBytes = samples * 2;
    QByteArray wav;
    auto u32 = [&wav](uint32_t v) {
        char b[4];
        qToLittleEndian(v, b);
        wav.append(b, 4);
    };
    auto u16 = [&wav](uint16_t v) {
        char b[2];
        qToLittleEndian(v, b);
        wav.append(b, 2);
    };
    wav.append("RIFF");
    u32(36 + dataBytes);
    wav.append("WAVEfmt ");
    u32(16);
    u16(1);     // PCM
    u16(1);     // mono
    u32(8000);  // samples a second
    u32(16000); // bytes a second
    u16(2);     // block
    u16(16);    // bits
    wav.append("data");
    u32(dataBytes);
    wav.append(QByteArray(int(dataBytes), '\0'));
    WriteBytes(path, wav);
}

// Saves a picture of a window when ORVO_SCREENSHOT_DIR names a directory,
// so its look can be checked by eye.
inline void Screenshot(QWidget* window, const QString& name) {
    const QString directory = qEnvironmentVariable("ORVO_SCREENSHOT_DIR");
    if (directory.isEmpty() || !window)
        return;
    QDir().mkpath(directory);
    window->grab().save(directory + "/" + name + ".png");
}

} // namespace orvo::test
