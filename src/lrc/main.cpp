// corvanta-lrc: converts LRC files into lyrics files the player reads, every tagged line lighting
// up once, in order, and reports the lines it had to move or leave out.

#include "cp932writer.h"
#include "lrccheck.h"
#include "lrcconvert.h"
#include "lrcencoding.h"
#include "lrcfile.h"
#include "regularfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QTextStream>
#include <algorithm>
#include <sys/stat.h>

namespace {

enum Status { kWritten = 0, kSomeMoved = 1, kNothingWritten = 2 };

const QString kUsage = QStringLiteral(
    "使い方: corvanta-lrc [--force] [--encoding 文字コード] [-o 出力] LRCファイル...\n");
const QString kHelp = QStringLiteral(
    "LRC ファイルを Corvanta の歌詞ファイル (コードページ932、行末 CR LF) に変換し、\n"
    "拡張子を .txt にしたファイルに書き出します。どのタグ付きの行も一度ずつ順に表示されるように\n"
    "時間タグを [分:秒] にそろえ、ずらした行と書き出せない行を「ファイル:行: 理由」の形で\n"
    "書き出します。\n"
    "\n"
    "  -o 出力   書き出すファイル (LRC ファイルが1つのとき)。「-」なら標準出力\n"
    "  --force   既にあるファイルを置き換えます\n"
    "  --encoding 文字コード\n"
    "            LRC ファイルをこの文字コード (GB18030、Big5、EUC-KR、EUC-JP、CP932 など) で\n"
    "            読みます。指定しなければ推測し、推測できないときと、大半の文字を\n"
    "            コードページ932で書けないとき (中国語や韓国語) は書き出しません\n"
    "  --help    この説明を表示します\n"
    "\n"
    "終了コード: 0 変換した、1 報告した行がある (ずらした、まとめた、書き出さなかった、文字を\n"
    "「?」にした、タグを読めなかった)、2 何も書き出さなかった\n");

// song.lrc is written to song.txt.
QString outputBeside(const QString& file)
{
    const qsizetype dot = file.lastIndexOf(u'.');
    return (dot > file.lastIndexOf(u'/') ? file.first(dot) : file) + QStringLiteral(".txt");
}

bool writeAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

bool writeToStandardOutput(const QByteArray& bytes)
{
    QFile file;
    return file.open(stdout, QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
           file.flush();
}

// Why the player's own check would stop in the lines about to be written: a fault of the
// converter. Empty when it finds nothing.
QString faultOf(const QByteArray& bytes)
{
    QTemporaryFile copy;
    if (!copy.open() || copy.write(bytes) != bytes.size() || !copy.flush())
        return QStringLiteral("確かめるための一時ファイルが書けません");
    const QList<Finding> findings = darkLines(copy.fileName());
    return findings.isEmpty() ? QString()
                              : QStringLiteral("書き出す %1行目が表示されません: %2")
                                    .arg(findings.first().firstLine)
                                    .arg(findings.first().message);
}

// The same file by any path: a link, a hard link, "./" or "..".
bool isSameFile(const QString& a, const QString& b)
{
    struct stat first {
    }, second{};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

Status convertFile(const QString& file, const QString& output, bool force, const QString& encoding,
                   QTextStream& out, QTextStream& err)
{
    const QString written = output.isEmpty() ? outputBeside(file) : output;
    QFile input(file);
    if (QString whyNot; !openRegularFile(input, whyNot)) {
        err << "corvanta-lrc: " << file << ": 読めません (" << whyNot << ")\n";
        return kNothingWritten;
    }
    if (written != u"-" && isSameFile(written, file)) {
        err << "corvanta-lrc: " << file << ": 書き出すファイルがこの LRC ファイル自身です。"
            << "別のファイルを -o で指定してください\n";
        return kNothingWritten;
    }
    if (written != u"-" && QFileInfo::exists(written) && !force) {
        err << "corvanta-lrc: " << written << ": 既にあります。置き換えるには --force\n";
        return kNothingWritten;
    }

    const LrcText read = decodeLrc(input.read(kLargestLyricsFile), encoding);
    if (!read.refusal.isEmpty()) {
        err << "corvanta-lrc: " << file << ": " << read.refusal << '\n';
        return kNothingWritten;
    }
    const LrcSong song = parseLrc(read.text);
    const LrcConversion conversion = convertLrc(song);
    Cp932Writer writer;
    const QByteArray bytes = writer.write(conversion.lines);
    if (const QString fault = faultOf(bytes); !fault.isEmpty()) {
        err << "corvanta-lrc: " << file << ": 変換の誤りのため書き出しません。" << fault << '\n';
        return kNothingWritten;
    }
    out.flush();
    if (!(written == u"-" ? writeToStandardOutput(bytes) : writeAtomically(written, bytes))) {
        err << "corvanta-lrc: " << written << ": 書き込めません\n";
        return kNothingWritten;
    }

    QList<LrcReport> reports = song.malformed + conversion.moved + writer.replaced();
    std::stable_sort(reports.begin(), reports.end(),
                     [](const LrcReport& a, const LrcReport& b) { return a.line < b.line; });
    // A line written once per tag would otherwise report its characters once per tag.
    reports.erase(std::unique(reports.begin(), reports.end(),
                              [](const LrcReport& a, const LrcReport& b) {
                                  return a.line == b.line && a.message == b.message;
                              }),
                  reports.end());
    // The lyrics themselves may be on standard output.
    QTextStream& reportStream = written == u"-" ? err : out;
    if (!read.encoding.isEmpty())
        reportStream << file << ": 文字コード " << read.encoding << " として読みました\n";
    for (const LrcReport& report : reports)
        reportStream << file << ':' << report.line << ": " << report.message << '\n';
    if (writer.replacedCount() > 0)
        reportStream << file << ": 全部で " << writer.replacedCount() << " 文字を「?」にしました\n";
    return reports.isEmpty() ? kWritten : kSomeMoved;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QCommandLineParser options;
    options.addOptions({{QStringLiteral("o"), {}, QStringLiteral("file")},
                        {QStringLiteral("force"), {}},
                        {QStringLiteral("encoding"), {}, QStringLiteral("name")},
                        {QStringLiteral("help"), {}}});
    const bool parsed = options.parse(QCoreApplication::arguments());
    if (parsed && options.isSet(QStringLiteral("help"))) {
        out << kUsage << '\n' << kHelp;
        return kWritten;
    }
    const QStringList files = options.positionalArguments();
    Status status = kNothingWritten;
    if (parsed && !files.isEmpty() && !(options.isSet(QStringLiteral("o")) && files.size() > 1)) {
        status = kWritten;
        for (const QString& file : files)
            status =
                std::max(status, convertFile(file, options.value(QStringLiteral("o")),
                                             options.isSet(QStringLiteral("force")),
                                             options.value(QStringLiteral("encoding")), out, err));
    }
    if (status == kNothingWritten)
        err << kUsage;
    return status;
}
