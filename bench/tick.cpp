// One ordinary tick of the main window, with lyrics loaded, a current line and a full redraw of
// the 18 rows, against its floor: clearing an image of the view's size and drawing the same 18
// rows with QPainter.
//
// Run as a benchmark, or as `bench_tick --instructions tick|rows N` to repeat one of the two N
// times inside measuredLoop(), whose instructions callgrind counts with
// --toggle-collect=measuredLoop.

#include "mainwindow.h"
#include "timetag.h"

#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

// Two minutes of lyrics, a line a second.
QByteArray lyrics()
{
    QByteArray text = "Corvanta bench\r\n"_ba;
    for (int second = 0; second < 120; ++second)
        text += FormatTimeTag(second * 1000).toLatin1() + "line "_ba + QByteArray::number(second) +
                " of the song, sung\r\n"_ba;
    return text;
}

// The main window playing track 1 with a line current: ticks from here on are ordinary ones.
struct Ticking : MainWindow {
    Ticking() : MainWindow({u"180000"_s})
    {
        openLyrics(lyrics());
        play();
        // Tick by tick, as the timer would, so that each second's line is seen.
        for (int tick = 0; tick < 25; ++tick) {
            output.sink().play(44100 / 10);
            window->Timer1_Timer();
        }
        if (view().rows().size() != PictureBox::kRows)
            qFatal("no current line after 2.5 s of the song");
    }

    // Alternating the current line's colour makes each tick redraw all 18 rows, which the view
    // draws when it is next shown.
    void tick()
    {
        colors.CurrentLineColor = colors.CurrentLineColor == 255 ? 0xFF0000 : 255;
        window->Timer1_Timer();
        view().image();
    }
};

// The same rows, drawn straight onto an image of the same size in the same font.
struct PaintingRows {
    explicit PaintingRows(PictureBox& view)
        : image(view.image().size(), QImage::Format_RGB32), font(view.font()),
          pitch(view.rowPitch()), baseline(QFontMetrics(font).ascent()), rows(view.rows())
    {
        image.setDevicePixelRatio(view.image().devicePixelRatio());
    }

    void paint()
    {
        alternate = !alternate;
        image.fill(Qt::black);
        QPainter painter(&image);
        painter.setFont(font);
        for (int row = 0; row < rows.size(); ++row) {
            painter.setPen(row == 7 && alternate ? Qt::blue : rows[row].color);
            painter.drawText(0, row * pitch + baseline, rows[row].text);
        }
    }

    QImage image;
    QFont font;
    int pitch;
    int baseline;
    QList<PictureBox::Row> rows;
    bool alternate = false;
};

void BM_Tick(benchmark::State& state)
{
    Ticking main;
    for (auto _ : state)
        main.tick();
}
BENCHMARK(BM_Tick)->Unit(benchmark::kMicrosecond)->MinWarmUpTime(0.2);

void BM_PaintRows(benchmark::State& state)
{
    Ticking main;
    PaintingRows floor(main.view());
    for (auto _ : state)
        floor.paint();
}
BENCHMARK(BM_PaintRows)->Unit(benchmark::kMicrosecond)->MinWarmUpTime(0.2);

[[gnu::noinline]] void measuredLoop(int times, const std::function<void()>& step)
{
    for (int i = 0; i < times; ++i)
        step();
}

int countInstructions(const char* what, int times)
{
    Ticking main;
    PaintingRows floor(main.view());
    if (std::strcmp(what, "tick") == 0)
        measuredLoop(times, [&] { main.tick(); });
    else if (std::strcmp(what, "rows") == 0)
        measuredLoop(times, [&] { floor.paint(); });
    else
        return 2;
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--instructions") == 0)
        return countInstructions(argv[2], std::atoi(argv[3]));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
