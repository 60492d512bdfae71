#include "manualaudiosink.h"

#include "cdtime.h"
#include "ringbuffer.h"

#include <QDeadlineTimer>
#include <QThread>

QByteArray ManualAudioSink::play(int frames)
{
    QByteArray played(frames * cdtime::kBytesPerFrame, Qt::Uninitialized);
    qsizetype filled = 0;
    const QDeadlineTimer patience(10'000);
    while (filled < played.size() && !source_->isDrained() && !patience.hasExpired()) {
        filled += qsizetype(source_->read(reinterpret_cast<std::byte*>(played.data()) + filled,
                                          std::size_t(played.size() - filled)));
        if (filled < played.size())
            QThread::msleep(1);
    }
    played.truncate(filled);
    played_ += filled / cdtime::kBytesPerFrame;
    return played;
}

PlayerDevices ManualOutput::devices()
{
    const auto makeSink = [this](std::shared_ptr<RingBuffer> source) {
        auto sink = std::make_shared<ManualAudioSink>(std::move(source));
        sink_ = sink.get();
        return QtFuture::makeReadyFuture(std::shared_ptr<AudioSink>(sink));
    };
    PlayerDevices devices;
    devices.makeSink = makeSink;
    devices.opticalDrives = [] { return QStringList(); };
    return devices;
}
