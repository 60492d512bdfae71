// mkdisc: writes BIN/CUE audio-CD images, or rips of them, for tests and the demo disc.

#include "cdtime.h"
#include "cueimage.h"
#include "demo.h"
#include "ripimage.h"
#include "ripoptions.h"
#include "tones.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr int exitUsage = 2;
constexpr int exitIo = 1;

// A cue sheet cannot address past 99:59:74, nor number more than 99 tracks.
constexpr qint64 maxSectors = 100 * 60 * cdtime::kSectorsPerSecond;
constexpr int maxTracks = 99;

int usage()
{
    std::fputs(
        "usage: mkdisc [RIP] OUT.cue LEN_MS[d] [LEN_MS[d] ...] | mkdisc [RIP] --demo OUT.cue\n"
        "  RIP: --format flac|wav [--split] [--cp932] [--bits 16|24] [--rate HZ] [--channels 1|2]\n"
        "       writes a rip instead of a BIN/CUE image; a rip has no data tracks (d)\n",
        stderr);
    return exitUsage;
}

int ioError(const QString& message)
{
    std::fprintf(stderr, "mkdisc: %s\n", qPrintable(message));
    return exitIo;
}

// The bin's name goes into the cue verbatim, so keep it plain ASCII.
bool isCuePath(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    if (!name.endsWith(u".cue"_s, Qt::CaseInsensitive) || name.size() <= 4)
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e || c == u'"')
            return false;
    }
    return true;
}

// "1500" is 1.5 s of test tone, "1500d" as long a data track; rounded up to whole sectors.
std::optional<ImageTrack> parseTrack(QString arg, int number)
{
    const bool data = arg.endsWith(u'd');
    if (data)
        arg.chop(1);
    const bool digits = !arg.isEmpty() && std::all_of(arg.cbegin(), arg.cend(), [](QChar c) {
        return c >= u'0' && c <= u'9';
    });
    bool ok = false;
    const qint64 ms = arg.toLongLong(&ok);
    if (!digits || !ok || ms > maxSectors * 1000 / cdtime::kSectorsPerSecond)
        return std::nullopt;
    const qint64 sectors = std::max<qint64>(1, (ms * cdtime::kSectorsPerSecond + 999) / 1000);
    if (data)
        return ImageTrack{true, sectors, [](qint64, char* out) {
                              std::memset(out, 0x5a, cdtime::kBytesPerSector);
                          }};
    return ImageTrack{false, sectors,
                      [number](qint64 sector, char* out) { fillTestSector(number, sector, out); }};
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    std::optional<RipFormat> rip;
    if (!takeRipOptions(&args, &rip) || args.size() < 2)
        return usage();

    QString error;
    const auto writeImage = [&rip, &error](const QString& cuePath,
                                           const QList<ImageTrack>& tracks) {
        return rip ? writeRipImage(cuePath, tracks, *rip, &error)
                   : writeCueImage(cuePath, tracks, &error);
    };
    if (args[0] == u"--demo"_s) {
        if (args.size() != 2 || !isCuePath(args[1]))
            return usage();
        if (!writeImage(args[1], demoTracks()) ||
            !writeDemoLyrics(QFileInfo(args[1]).absolutePath(), &error))
            return ioError(error);
        return 0;
    }

    if (!isCuePath(args[0]) || args.size() - 1 > maxTracks)
        return usage();
    QList<ImageTrack> tracks;
    qint64 total = 0;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const std::optional<ImageTrack> track = parseTrack(args[i], int(i));
        if (!track || (rip && track->data))
            return usage();
        total += track->sectors;
        tracks.append(*track);
    }
    if (total > maxSectors)
        return usage();
    if (!writeImage(args[0], tracks))
        return ioError(error);
    return 0;
}
