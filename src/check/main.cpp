// corvanta-check: reads lyrics files as the player does and reports every tagged line that will
// never light up while the track plays, and why.

#include "disc.h"
#include "discid.h"
#include "drivetable.h"
#include "linelist.h"
#include "lyricscheck.h"
#include "lyricsfile.h"
#include "programfolder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

namespace {

enum Status { kAllLightUp = 0, kSomeStayDark = 1, kCannotCheck = 2 };

const QString kUsage = QStringLiteral(
    "使い方: corvanta-check [--image ファイル | --drive X:] [--track N] 歌詞ファイル...\n"
    "        corvanta-check (--image ファイル | --drive X:) --disc-id [歌詞ファイル...]\n");
const QString kHelp = QStringLiteral(
    "歌詞ファイルを Corvanta と同じように読み、再生中に一度も表示されないタグ付きの行と、\n"
    "その理由を「ファイル:行: 理由」の形で書き出します。\n"
    "\n"
    "  --image ファイル  ディスクイメージ (.cue, .toc, .nrg) のトラックの長さで調べます\n"
    "  --drive X:        Corvanta のドライブ X: のディスクで調べます\n"
    "  --track N         調べるトラック (既定は 1)\n"
    "  --disc-id         そのディスクの MusicBrainz ディスク ID を書き出します。歌詞ファイルを\n"
    "                    開いたトラックは、この ID ごとに覚えられます\n"
    "  --help            この説明を表示します\n"
    "\n"
    "ディスクがなければ、トラックの終わりは調べず [99:59] まで調べます。\n"
    "終了コード: 0 すべての行が表示される、1 表示されない行がある、2 調べられない\n");

// The disc named on the command line: an image, or one of the program's drives.
std::unique_ptr<Disc> discToCheck(const QCommandLineParser& options, QString& error)
{
    QString path = options.value(QStringLiteral("image"));
    if (options.isSet(QStringLiteral("drive"))) {
        const QString drive = options.value(QStringLiteral("drive"));
        const bool isLetter = drive.size() == 2 && drive[0].isLetter() && drive[1] == u':';
        const std::optional<QString> target =
            isLetter ? DriveTable::scan(programFolder(), DriveTable::systemOpticalDrives())
                           .target(drive[0])
                     : std::nullopt;
        if (!target) {
            error = QStringLiteral("ドライブ %1 はありません").arg(drive);
            return nullptr;
        }
        path = *target;
    }
    QString whyNot;
    std::unique_ptr<Disc> disc = Disc::open(path, &whyNot);
    if (!disc)
        error = QStringLiteral("%1: ディスクを読めません (%2)").arg(path, whyNot);
    return disc;
}

// The track named on the command line, of that disc.
std::optional<CheckedTrack> trackToCheck(const Disc& disc, const QCommandLineParser& options,
                                         QString& error)
{
    bool isNumber = false;
    const int number = options.value(QStringLiteral("track")).toInt(&isNumber);
    const Track* track = isNumber ? disc.track(number) : nullptr;
    if (!track) {
        error =
            QStringLiteral("トラック %1 はありません").arg(options.value(QStringLiteral("track")));
        return std::nullopt;
    }
    return CheckedTrack{number, track->lengthMs()};
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QCommandLineParser options;
    options.addOptions(
        {{QStringLiteral("image"), {}, QStringLiteral("file")},
         {QStringLiteral("drive"), {}, QStringLiteral("letter")},
         {QStringLiteral("track"), {}, QStringLiteral("number"), QStringLiteral("1")},
         {QStringLiteral("disc-id"), {}},
         {QStringLiteral("help"), {}}});
    const bool parsed = options.parse(QCoreApplication::arguments());
    if (parsed && options.isSet(QStringLiteral("help"))) {
        out << kUsage << '\n' << kHelp;
        return kAllLightUp;
    }
    const bool withDisc =
        options.isSet(QStringLiteral("image")) || options.isSet(QStringLiteral("drive"));
    const bool discId = options.isSet(QStringLiteral("disc-id"));
    if (!parsed || (options.positionalArguments().isEmpty() && !discId) || (discId && !withDisc) ||
        (options.isSet(QStringLiteral("image")) && options.isSet(QStringLiteral("drive")))) {
        err << kUsage;
        return kCannotCheck;
    }

    std::optional<CheckedTrack> track;
    if (withDisc) {
        QString error;
        const std::unique_ptr<Disc> disc = discToCheck(options, error);
        if (disc && discId)
            out << musicBrainzDiscId(disc->tracks()) << '\n';
        track = disc && !options.positionalArguments().isEmpty()
                    ? trackToCheck(*disc, options, error)
                    : std::nullopt;
        if (!error.isEmpty()) {
            err << "corvanta-check: " << error << '\n';
            return kCannotCheck;
        }
    }

    Status status = kAllLightUp;
    for (const QString& file : options.positionalArguments()) {
        LineList lines, shown;
        if (QString whyNot; !LoadLyrics(file, lines, shown, &whyNot)) {
            err << "corvanta-check: " << file << ": 読めません (" << whyNot << ")\n";
            status = kCannotCheck;
            continue;
        }
        for (const Finding& finding : CheckLyrics(lines, track)) {
            out << file << ':' << finding.firstLine;
            if (finding.lastLine != finding.firstLine)
                out << '-' << finding.lastLine;
            out << ": " << finding.message << '\n';
            if (!finding.isNote && status == kAllLightUp)
                status = kSomeStayDark;
        }
    }
    return status;
}
