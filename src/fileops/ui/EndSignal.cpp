#include "fileops/ui/EndSignal.h"

#include <QApplication>
#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <cmath>

namespace orvo {

void PlayEndSignal() {
    QApplication::beep();
    QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return;
    QAudioFormat format;
    format.setSampleRate(8000);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        return;
    // 15 ms of a 600 Hz sine.
    const int samples = format.sampleRate() * 15 / 1000;
    QByteArray pcm(samples * 2, Qt::Uninitialized);
    auto* data = reinterpret_cast<qint16*>(pcm.data());
    for (int i = 0; i < samples; ++i)
        data[i] = static_cast<qint16>(8000 * std::sin(2 * M_PI * 600 * i / format.sampleRate()));
    auto* sink = new QAudioSink(device, format, qApp);
    auto* buffer = new QBuffer(sink);
    buffer->setData(pcm);
    buffer->open(QIODevice::ReadOnly);
    QObject::connect(sink, &QAudioSink::stateChanged, sink, [sink](QAudio::State state) {
        if (state == QAudio::IdleState || state == QAudio::StoppedState)
            sink->deleteLater();
    });
    sink->start(buffer);
}

} // namespace orvo
