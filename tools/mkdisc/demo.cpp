#include "demo.h"

#include "cdtime.h"
#include "tones.h"

#include <QDir>
#include <QSaveFile>
#include <QStringEncoder>
#include <array>
#include <cstring>
#include <memory>
#include <span>

using namespace Qt::StringLiterals;

namespace {

struct LyricLine {
    int second; // -1: no time tag
    const char16_t* text;
};

struct DemoTrack {
    int seconds;
    std::span<const Note> notes;
    std::span<const LyricLine> lyrics;
};

// Morning: C major, a phrase every three seconds.
constexpr Note morningNotes[] = {
    {1, 64, 1},  {2, 67, 1},  {3, 72, 1},  {4, 71, 1},  {5, 69, 1},  {6, 67, 1},  {7, 69, 1},
    {8, 67, 1},  {9, 64, 1},  {10, 62, 2}, {13, 64, 1}, {14, 67, 1}, {15, 69, 1}, {16, 72, 1},
    {17, 71, 1}, {18, 69, 1}, {19, 67, 1}, {20, 64, 1}, {21, 62, 1}, {22, 60, 2},
};
constexpr LyricLine morningLyrics[] = {
    {-1, u"朝のうた"},
    {1, u"窓をあけたら 朝の光"},
    {4, u"小鳥がそっと 歌いだす"},
    {7, u"白いカーテン 風にゆれて"},
    {10, u"おはよう"},
    {-1, u""},
    {13, u"湯気のたつ カップを両手に"},
    {16, u"今日の空は どんな色"},
    {19, u"ゆっくり歩こう 駅までの道"},
    {22, u"いってきます"},
};

// River: G major, a phrase every four seconds.
constexpr Note riverNotes[] = {
    {2, 62, 1},  {3, 67, 1},  {4, 71, 2},  {6, 69, 1},  {7, 67, 1},  {8, 64, 2},  {10, 62, 1},
    {11, 64, 1}, {12, 67, 1}, {13, 69, 1}, {14, 71, 2}, {16, 69, 2}, {18, 67, 1}, {19, 71, 1},
    {20, 74, 2}, {22, 72, 1}, {23, 71, 1}, {24, 69, 2}, {26, 67, 2},
};
constexpr LyricLine riverLyrics[] = {
    {-1, u"川のほとり"},
    {2, u"山からくだる 細い川"},
    {6, u"石をこえて きらきら光る"},
    {10, u"小さな舟を 葉っぱで作り"},
    {14, u"流れにのせて 見送った"},
    {-1, u"～ 間奏 ～"},
    {18, u"どこまで行くの 海までかな"},
    {22, u"夕日の色に 染まりながら"},
    {26, u"さようなら"},
};

// Sea: A minor pentatonic, mostly three-second phrases.
constexpr Note seaNotes[] = {
    {2, 69, 1},  {3, 67, 1},  {4, 64, 1},  {5, 62, 1},  {6, 64, 2},  {8, 67, 1},  {9, 69, 1},
    {10, 72, 1}, {11, 69, 2}, {14, 64, 1}, {15, 67, 1}, {16, 69, 2}, {18, 72, 1}, {19, 74, 1},
    {20, 72, 1}, {21, 69, 1}, {22, 67, 2}, {24, 64, 1}, {25, 62, 1}, {26, 64, 1}, {27, 67, 2},
    {29, 64, 1}, {30, 62, 1}, {31, 60, 1}, {32, 62, 1}, {33, 57, 2},
};
constexpr LyricLine seaLyrics[] = {
    {-1, u"海への手紙 ①"},        {2, u"坂をのぼれば 青い海"},
    {5, u"潮の香りが する"},      {8, u"白い波が 砂をなでて"},
    {11, u"ひとやすみ"},          {14, u"貝がらひとつ ポケットに"},
    {18, u"遠い島まで 届くかな"}, {21, u"カモメが高く 舞いあがる"},
    {24, u"波の音 ざあざあと"},   {27, u"手紙を書こう 砂の上に"},
    {30, u"また会う日まで"},      {33, u"さよなら 海よ～"},
};

constexpr std::array<DemoTrack, 3> demo = {{
    {24, morningNotes, morningLyrics},
    {30, riverNotes, riverLyrics},
    {36, seaNotes, seaLyrics},
}};

QString lyricsText(std::span<const LyricLine> lines)
{
    QString text;
    for (const LyricLine& line : lines) {
        if (line.second >= 0)
            text += u"[%1:%2]"_s.arg(line.second / 60, 2, 10, QLatin1Char('0'))
                        .arg(line.second % 60, 2, 10, QLatin1Char('0'));
        text += QStringView(line.text);
        text += u"\r\n";
    }
    return text;
}

} // namespace

QList<ImageTrack> demoTracks()
{
    QList<ImageTrack> tracks;
    for (const DemoTrack& track : demo) {
        const qint64 sectors = qint64(track.seconds) * cdtime::kSectorsPerSecond;
        const auto pcm = std::make_shared<const QByteArray>(
            renderMelody(track.notes, sectors * cdtime::kFramesPerSector));
        tracks.append({false, sectors, [pcm](qint64 sector, char* out) {
                           std::memcpy(out, pcm->constData() + sector * cdtime::kBytesPerSector,
                                       cdtime::kBytesPerSector);
                       }});
    }
    return tracks;
}

bool writeDemoLyrics(const QString& dir, QString* error)
{
    QStringEncoder encoder("CP932");
    if (!encoder.isValid()) {
        *error = u"no CP932 text encoder available"_s;
        return false;
    }
    for (std::size_t i = 0; i < demo.size(); ++i) {
        const QByteArray bytes = encoder.encode(lyricsText(demo[i].lyrics));
        if (encoder.hasError()) {
            *error = u"lyrics of track %1 do not fit CP932"_s.arg(i + 1);
            return false;
        }
        QSaveFile file(QDir(dir).filePath(u"track%1.txt"_s.arg(i + 1)));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
            !file.commit()) {
            *error = u"%1: %2"_s.arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
            return false;
        }
    }
    return true;
}
