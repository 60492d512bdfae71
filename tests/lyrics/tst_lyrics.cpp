#include "linelist.h"
#include "lyricsfile.h"
#include "timetag.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

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
        lines << list.at(i);
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

} // namespace

class LyricsTest final : public QObject {
    Q_OBJECT

private slots:
    void timeTags_data();
    void timeTags();
    void selectionOutsideTheLinesIsRefused();
    void loadsLines_data();
    void loadsLines();
    void largeAndBinaryFiles();
    void unopenableFileLeavesTheListsEmpty();
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

QTEST_GUILESS_MAIN(LyricsTest)
#include "tst_lyrics.moc"
