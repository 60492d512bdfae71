// bench_windowfloor PCM SECONDS: the floor for playback with lyrics. Does the visible work the
// player must do and nothing else: a window of the main window's size, a label that shows the
// elapsed second, 18 rows of text drawn again whenever a new line becomes current (once a
// second), a 100 ms timer that looks, and the PCM streamed from memory through SDL with the
// player's device buffer. No disc, no reader thread, no lyrics file. Plays SECONDS, or the whole
// file if it is shorter, then ends.

#include "twips.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <SDL.h>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kDeviceFrames = 2048; // as the player's sound output
constexpr int kRows = 18;
constexpr int kBytesPerFrame = 4;

struct Stream {
    QByteArray pcm;
    qsizetype at = 0;
    std::atomic<qint64> framesTaken{0};
};

void fill(void* userdata, Uint8* out, int length)
{
    auto& stream = *static_cast<Stream*>(userdata);
    const qsizetype taken = std::min(qsizetype(length), stream.pcm.size() - stream.at);
    std::memcpy(out, stream.pcm.constData() + stream.at, std::size_t(taken));
    std::memset(out + taken, 0, std::size_t(length - taken));
    stream.at += taken;
    stream.framesTaken += taken / kBytesPerFrame;
}

// 18 rows of text around the current line, the current one in red.
class Rows final : public QWidget {
public:
    explicit Rows(QWidget* parent) : QWidget(parent)
    {
        font_.setFamilies({QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("monospace")});
        font_.setBold(true);
        font_.setPixelSize(16);
        setAutoFillBackground(true);
        QPalette black = palette();
        black.setColor(QPalette::Window, Qt::black);
        setPalette(black);
    }
    void setCurrent(int line)
    {
        current_ = line;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setFont(font_);
        const int pitch = height() / kRows;
        for (int row = 0; row < kRows; ++row) {
            const int line = current_ - 7 + row;
            painter.setPen(line == current_ ? Qt::red : Qt::white);
            painter.drawText(0, row * pitch, width(), pitch, Qt::AlignVCenter,
                             QStringLiteral("       line %1 of the song").arg(line));
        }
    }

private:
    QFont font_;
    int current_ = 0;
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: bench_windowfloor PCM SECONDS\n", stderr);
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    Stream stream;
    stream.pcm = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (stream.pcm.isEmpty() || SDL_Init(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "bench_windowfloor: %s\n",
                     stream.pcm.isEmpty() ? "no PCM" : SDL_GetError());
        return 1;
    }

    QWidget window;
    window.setFixedSize(twips(8700), twips(5625));
    auto* elapsed = new QLabel(&window);
    elapsed->setGeometry(twipsRect(3840, 120, 1290, 330));
    QFont elapsedFont({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("sans-serif")}, 0,
                      QFont::Bold);
    elapsedFont.setPointSizeF(15.75);
    elapsed->setFont(elapsedFont);
    auto* rows = new Rows(&window);
    rows->setGeometry(twipsRect(0, 600, 8655, 4935));
    window.show();

    SDL_AudioSpec wanted{};
    wanted.freq = 44100;
    wanted.format = AUDIO_S16LSB;
    wanted.channels = 2;
    wanted.samples = kDeviceFrames;
    wanted.callback = &fill;
    wanted.userdata = &stream;
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device == 0) {
        std::fprintf(stderr, "bench_windowfloor: %s\n", SDL_GetError());
        return 1;
    }
    SDL_PauseAudioDevice(device, 0);

    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    int shown = -1;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const int second = int(stream.framesTaken / 44100);
        if (second == shown)
            return;
        shown = second;
        elapsed->setText(QStringLiteral("[%1:%2]")
                             .arg(second / 60, 2, 10, QLatin1Char('0'))
                             .arg(second % 60, 2, 10, QLatin1Char('0')));
        rows->setCurrent(second);
    });
    tick.start(100);
    QTimer::singleShot(std::atoi(argv[2]) * 1000, &app, &QCoreApplication::quit);
    const int status = QApplication::exec();
    SDL_CloseAudioDevice(device);
    SDL_Quit();
    return status;
}
