// Loading a 10 MB code page 932 lyrics file of 200,000 lines into the two lists, against the
// decoders alone: Qt's QStringDecoder("CP932") and glibc's iconv decoding the same bytes.

#include "linelist.h"
#include "lyricsfile.h"
#include "timetag.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <array>
#include <benchmark/benchmark.h>
#include <iconv.h>
#include <memory>

namespace {

constexpr int kLines = 200'000;

// Mostly tagged lines of kana, kanji and ASCII, about 50 bytes each; every tenth is untagged.
QByteArray lyricsBytes()
{
    const QStringList words{QStringLiteral("夜空に"),   QStringLiteral("光る"),
                            QStringLiteral("Corvanta"), QStringLiteral("ｶﾀｶﾅの"),
                            QStringLiteral("うた"),     QStringLiteral("を歌う"),
                            QStringLiteral("ﾄﾗｯｸ"),     QStringLiteral("sing along")};
    QStringEncoder encoder("CP932");
    QByteArray bytes;
    bytes.reserve(kLines * 52);
    for (int line = 0; line < kLines; ++line) {
        QString text = line % 10 == 0 ? QString() : FormatTimeTag(line * 1000 % 5'940'000);
        for (int word = 0; word < 6; ++word)
            text += words[(line + word * 3) % words.size()] + u' ';
        bytes += encoder.encode(text);
        bytes += "\r\n";
    }
    return bytes;
}

struct LyricsFile {
    LyricsFile() : path(folder.filePath(QStringLiteral("lyrics.txt"))), bytes(lyricsBytes())
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
    }
    QTemporaryDir folder;
    QString path;
    QByteArray bytes;
};

const LyricsFile& lyricsFile()
{
    static const LyricsFile file;
    return file;
}

void BM_LoadLyrics(benchmark::State& state)
{
    const LyricsFile& file = lyricsFile();
    for (auto _ : state) {
        // A first load, into empty lists; letting go of the lines is not part of it.
        auto lists = std::make_unique<std::array<LineList, 2>>();
        if (!LoadLyrics(file.path, (*lists)[0], (*lists)[1]) || (*lists)[0].count() != kLines)
            state.SkipWithError("the file did not load whole");
        state.PauseTiming();
        lists.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * file.bytes.size());
}
BENCHMARK(BM_LoadLyrics)->Unit(benchmark::kMillisecond);

void BM_QStringDecoder(benchmark::State& state)
{
    const QByteArray& bytes = lyricsFile().bytes;
    for (auto _ : state) {
        QStringDecoder decoder("CP932");
        const QString text = decoder.decode(bytes);
        benchmark::DoNotOptimize(text.constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_QStringDecoder)->Unit(benchmark::kMillisecond);

struct IconvCloser {
    void operator()(iconv_t cd) const { iconv_close(cd); }
};

void BM_Iconv(benchmark::State& state)
{
    QByteArray bytes = lyricsFile().bytes;
    const std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser> cd(
        iconv_open("UTF-8", "CP932"));
    QByteArray out(bytes.size() * 2, Qt::Uninitialized);
    for (auto _ : state) {
        char* in = bytes.data();
        std::size_t inLeft = bytes.size();
        char* to = out.data();
        std::size_t outLeft = out.size();
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd.get(), &in, &inLeft, &to, &outLeft) == std::size_t(-1))
            state.SkipWithError("iconv refused the bytes");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_Iconv)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
