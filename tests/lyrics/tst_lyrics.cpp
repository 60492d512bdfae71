#include "cp932.h"
#include "linelist.h"
#include "lyricsfile.h"
#include "timetag.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

const QString kTagBlank = u"       "_s;

struct Loaded {
    bool opened;
    QStringList List1;
    QStringList List2;
};

QStringList linesOf(const LineList& list)
{
    QStringList lines;
    for (int i = 0; i < list.count(); ++i)
        lines << list.at(i).toString();
    return lines;
}

Loaded load(const QByteArray& bytes)
{
    QTemporaryDir folder;
    QFile file(folder.filePath(u"lyrics.txt"_s));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the lyrics file");
    file.close();
    LineList List1, List2;
    const bool opened = LoadLyrics(file.fileName(), List1, List2);
    return {opened, linesOf(List1), linesOf(List2)};
}

// Writes `first` into a FIFO once a reader has it open, runs `meanwhile`, then writes `rest` and
// closes it: the reader is part way through the file while `meanwhile` runs. Gives up when no
// reader comes.
void feedFifo(const QString& path, const QByteArray& first, const std::function<void()>& meanwhile,
              const QByteArray& rest)
{
    // A reader that stops early makes a write fail rather than end the test program.
    sigset_t brokenPipe;
    sigemptyset(&brokenPipe);
    sigaddset(&brokenPipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &brokenPipe, nullptr);

    int fd = -1;
    const QDeadlineTimer patience(10'000);
    while ((fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK)) < 0 &&
           errno == ENXIO && !patience.hasExpired())
        QThread::msleep(1);
    if (fd < 0)
        return;
    // Left non-blocking: a pipe takes a few bytes whole.
    QFile fifo;
    fifo.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFile::AutoCloseHandle);
    fifo.write(first);
    meanwhile();
    fifo.write(rest);
}

} // namespace

class LyricsTest final : public QObject {
    Q_OBJECT

private slots:
    void timeTags_data();
    void timeTags();
    void selectionOutsideTheLinesIsRefused();
    void loadsLines_data();
    void loadsLines();
    void piecesDecodeAsTheWhole_data() { loadsLines_data(); }
    void piecesDecodeAsTheWhole();
    void largeAndBinaryFiles();
    void unopenableFileLeavesTheListsEmpty();
    void fileReplacedWhileReadLoadsAsOpened_data();
    void fileReplacedWhileReadLoadsAsOpened();
};

void LyricsTest::timeTags_data()
{
    QTest::addColumn<qint32>("ms");
    QTest::addColumn<QString>("tag");
    const QList<std::pair<qint32, const char*>> rows{
        {0, "[00:00]"},       {99, "[00:00]"},      {999, "[00:00]"},
        {1000, "[00:01]"},    {1999, "[00:01]"},    {59999, "[00:59]"},
        {60000, "[01:00]"},   {60999, "[01:00]"},   {599000, "[09:59]"},
        {599999, "[09:59]"},  {600000, "[10:00]"},  {754321, "[12:34]"},
        {3599999, "[59:59]"}, {4800000, "[80:00]"}, {6000000, "[100:00]"},
        {-1, "[00:00]"},      {-60000, "[00:00]"},  {2147483647, "[35791:23]"},
    };
    for (const auto& [ms, tag] : rows)
        QTest::addRow("%d ms", ms) << ms << QString::fromLatin1(tag);
}

void LyricsTest::timeTags()
{
    QFETCH(qint32, ms);
    QFETCH(QString, tag);
    QCOMPARE(FormatTimeTag(ms), tag);
}

void LyricsTest::selectionOutsideTheLinesIsRefused()
{
    LineList list;
    QVERIFY(!list.setSelection(0));
    QCOMPARE(list.selection(), -1);
    list.append(u"one"_s);
    list.append(u"two"_s);
    QVERIFY(list.setSelection(1));
    QVERIFY(!list.setSelection(2)); // never clamped
    QVERIFY(!list.setSelection(-2));
    QCOMPARE(list.selection(), 1);
    QVERIFY(list.setSelection(-1));
    list.setSelection(0);
    list.clear();
    QCOMPARE(list.selection(), -1);
}

void LyricsTest::loadsLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("List1");
    QTest::addColumn<QStringList>("List2");

    QTest::newRow("tagged, blank, untagged, bare tag")
        << "[00:12]text one\r\n\r\na line without tag\r\n[00:17]"_ba
        << QStringList{u"[00:12]text one"_s, QString(), u"a line without tag"_s, u"[00:17]"_s}
        << QStringList{kTagBlank + u"text one"_s, QString(), u"a line without tag"_s, kTagBlank};
    QTest::newRow("any bracket is a tag, however malformed")
        << "[1:05]text\r\n[\r\n"_ba << QStringList{u"[1:05]text"_s, u"["_s}
        << QStringList{kTagBlank + u"ext"_s, kTagBlank};
    QTest::newRow("not at the start, or full-width, is no tag")
        << " [00:01]a\r\n\x81\x6d"
           "00:01\x81\x6e"
           "b\r\n"_ba
        << QStringList{u" [00:01]a"_s, u"［00:01］b"_s}
        << QStringList{u" [00:01]a"_s, u"［00:01］b"_s};
    QTest::newRow("CR, LF and CR LF all end lines")
        << "a\rb\nc\r\nd\n\re"_ba << QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s, QString(), u"e"_s}
        << QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s, QString(), u"e"_s};
    QTest::newRow("a last line end adds no line")
        << "a\r\n\r\n"_ba << QStringList{u"a"_s, QString()} << QStringList{u"a"_s, QString()};
    QTest::newRow("empty file") << QByteArray() << QStringList() << QStringList();
    QTest::newRow("code page 932, not plain Shift_JIS")
        << "[00:01]\x87\x40\x81\x60\x81\x5f\x81\x7c \xb6\xc0\xb6\xc5 \x88\x9f"_ba
        << QStringList{u"[00:01]①～＼－ ｶﾀｶﾅ 亜"_s}
        << QStringList{kTagBlank + u"①～＼－ ｶﾀｶﾅ 亜"_s};
    QTest::newRow("bad bytes become U+FFFD")
        << "a\x81 b\xff\r\nc\x82"_ba << QStringList{u"a\uFFFD b\uFFFD"_s, u"c\uFFFD"_s}
        << QStringList{u"a\uFFFD b\uFFFD"_s, u"c\uFFFD"_s};
    QTest::newRow("controls and NUL as Windows reads them")
        << QByteArray("a\x1a\x1c\x7f\0b", 6) << QStringList{u"a\x1a\x1c\x7f\0b"_s.left(6)}
        << QStringList{u"a\x1a\x1c\x7f\0b"_s.left(6)};
}

void LyricsTest::loadsLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, List1);
    QFETCH(QStringList, List2);
    const Loaded loaded = load(bytes);
    QVERIFY(loaded.opened);
    QCOMPARE(loaded.List1, List1);
    QCOMPARE(loaded.List2, List2);
}

// A file is decoded as it is read, a piece at a time: wherever the pieces end, even inside a
// double-byte character or byte by byte, the text is that of the whole.
void LyricsTest::piecesDecodeAsTheWhole()
{
    QFETCH(QByteArray, bytes);
    const QString whole = decodeCp932(bytes);
    const auto decodeInPieces = [&bytes](const QList<qsizetype>& cuts) {
        Cp932Decoder decoder;
        QString text;
        qsizetype from = 0;
        for (const qsizetype cut : cuts + QList<qsizetype>{bytes.size()}) {
            decoder.decode(QByteArrayView(bytes).sliced(from, cut - from), text);
            from = cut;
        }
        decoder.finish(text);
        return text;
    };
    QList<qsizetype> everyByte;
    for (qsizetype cut = 0; cut <= bytes.size(); ++cut) {
        QCOMPARE(decodeInPieces({cut}), whole);
        everyByte.append(cut);
    }
    QCOMPARE(decodeInPieces(everyByte), whole);
}

void LyricsTest::largeAndBinaryFiles()
{
    QByteArray many;
    for (int i = 0; i < 200'000; ++i)
        many += "[00:" + QByteArray::number(i % 60).rightJustified(2, '0') + "]line " +
                QByteArray::number(i) + "\r\n";
    const Loaded manyLines = load(many);
    QCOMPARE(manyLines.List1.size(), 200'000);
    QCOMPARE(manyLines.List2.last(), kTagBlank + u"line 199999"_s);

    const Loaded longLine = load(QByteArray(1 << 20, 'x'));
    QCOMPARE(longLine.List1, QStringList{QString(1 << 20, u'x')});

    QByteArray binary(1 << 16, Qt::Uninitialized);
    QRandomGenerator generator(932);
    for (char& byte : binary)
        byte = char(generator.bounded(256));
    const Loaded noise = load(binary);
    QCOMPARE(noise.List1.size(), noise.List2.size());
    for (qsizetype i = 0; i < noise.List1.size(); ++i) {
        const QString& line = noise.List1[i];
        QCOMPARE(noise.List2[i], line.startsWith(u'[') ? kTagBlank + line.mid(7) : line);
        QVERIFY(!line.contains(u'\r') && !line.contains(u'\n'));
    }
}

void LyricsTest::unopenableFileLeavesTheListsEmpty()
{
    LineList List1, List2;
    List1.append(u"old"_s);
    List2.append(u"old"_s);
    List1.setSelection(0);
    QTemporaryDir folder;
    QVERIFY(!LoadLyrics(folder.filePath(u"missing.txt"_s), List1, List2));
    QCOMPARE(List1.count(), 0);
    QCOMPARE(List2.count(), 0);
    QCOMPARE(List1.selection(), -1);
    QVERIFY(!LoadLyrics(folder.path(), List1, List2)); // a folder is no file
}

void LyricsTest::fileReplacedWhileReadLoadsAsOpened_data()
{
    QTest::addColumn<bool>("renamedOver"); // or else deleted
    QTest::newRow("renamed over") << true;
    QTest::newRow("deleted") << false;
}

// The file is read once, through one handle, as a whole: one replaced or deleted part way
// through still loads as it was when opened, and a character cut between two reads is whole. A
// FIFO stands in for the file, so the reader is held part way through without any waiting.
void LyricsTest::fileReplacedWhileReadLoadsAsOpened()
{
    QFETCH(bool, renamedOver);
    QTemporaryDir folder;
    const QString path = folder.filePath(u"lyrics.txt"_s);
    const QString replacement = folder.filePath(u"new.txt"_s);
    const QByteArray newText = "[00:09]new\r\n"_ba;
    QFile newFile(replacement);
    QVERIFY(newFile.open(QIODevice::WriteOnly) && newFile.write(newText) == newText.size());
    newFile.close();
    QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);

    const QByteArray text = "[00:01]\x88\xea\r\n[00:02]\x93\xf1\r\n"_ba;
    const qsizetype cut = text.indexOf('\x93') + 1; // between the halves of 二
    const auto replace = [&] {
        if (renamedOver)
            std::rename(QFile::encodeName(replacement).constData(),
                        QFile::encodeName(path).constData());
        else
            QFile::remove(path);
    };
    std::jthread writer(feedFifo, path, text.first(cut), replace, text.sliced(cut));
    LineList List1, List2;
    QVERIFY(LoadLyrics(path, List1, List2));
    QCOMPARE(linesOf(List1), (QStringList{u"[00:01]一"_s, u"[00:02]二"_s}));
    QCOMPARE(linesOf(List2), (QStringList{kTagBlank + u"一"_s, kTagBlank + u"二"_s}));
    writer.join();
    QVERIFY(!QFile::exists(renamedOver ? replacement : path)); // it did happen
}

QTEST_GUILESS_MAIN(LyricsTest)
#include "tst_lyrics.moc"
