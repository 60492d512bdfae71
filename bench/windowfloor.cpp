// bench_windowfloor PCM SECONDS: the floor for playback with lyrics. Does the visible work the
// player must do and nothing else: a window of the main window's size, a label that shows the
// elapsed second, 18 rows of text drawn again whenever a new line becomes current (once a
// second), a 100 ms timer that looks, and the PCM streamed from memory through SDL with the
// player's device buffer. No disc, no reader thread, no lyrics file. Plays SECONDS, or the whole
// file if it is shorter, then ends.

#include "pcmstream.h"
#include "twips.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kRows = 18;

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
    PcmStream stream;
    if (std::string error; !stream.start(argv[1], error)) {
        std::fprintf(stderr, "bench_windowfloor: %s\n", error.c_str());
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

    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    int shown = -1;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const int second = int(stream.framesTaken() / 44100);
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
    return QApplication::exec();
}
