#include "cp932.h"
#include "discfixture.h"
#include "linelist.h"
#include "lyricsfile.h"
#include "timetag.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList linesOf(const LineList& list)
{
    QStringList lines;
    for (int i = 0; i < list.count(); ++i)
        lines << list.at(i).toString();
    return lines;
}

} // namespace

class LyricsTest final : public QObject {
    Q_OBJECT

private slots:
    void timeTags()
    {
        // clang-format off
        const std::pair<qint32, const char*> cases[] = {
            {0, "[00:00]"}, {999, "[00:00]"}, {1000, "[00:01]"}, {60999, "[01:00]"},
            {600000, "[10:00]"}, {3599999, "[59:59]"}, {6000000, "[100:00]"}, {-60000, "[00:00]"},
            {2147483647, "[35791:23]"}};
        // clang-format on
        for (const auto& [ms, tag] : cases)
            QCOMPARE(FormatTimeTag(ms), QLatin1String(tag));
    }

    void loadsLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("List1");
        QTest::addColumn<QStringList>("List2"); // as shown
        const QStringList plain{u"a"_s, u"b"_s, u"c"_s, u"d"_s, {}, u"e"_s};
        QTest::newRow("any bracket starts a tag, a blank or a full-width one does not")
            << "[00:12]one\r\n\r\n[1:05]\r\n[\r\n [00:01]a\r\n\x81\x6d"
               "00:01\x81\x6e"_ba
            << QStringList{u"[00:12]one"_s, {}, u"[1:05]"_s, u"["_s, u" [00:01]a"_s,
                           u"［00:01］"_s}
            << QStringList{u"       one"_s, {}, u"       "_s, u"       "_s, u" [00:01]a"_s,
                           u"［00:01］"_s};
        QTest::newRow("CR, LF and CR LF end lines; a last one adds none")
            << "a\rb\nc\r\nd\n\re\r\n"_ba << plain << plain;
        QTest::newRow("empty file") << QByteArray() << QStringList() << QStringList();
        QTest::newRow("code page 932; bad bytes are U+FFFD")
            << "[00:01]\x87\x40\x81\x60\x81\x5f \xb6\xc0 \x88\x9f\r\nb\xff\x82"_ba
            << QStringList{u"[00:01]①～＼ ｶﾀ 亜"_s, u"b\uFFFD\uFFFD"_s}
            << QStringList{u"       ①～＼ ｶﾀ 亜"_s, u"b\uFFFD\uFFFD"_s};
    }

    // Loaded from a file, and decoded in two pieces cut anywhere, even inside a character.
    void loadsLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, List1);
        QFETCH(QStringList, List2);
        DiscFixture folder;
        writeFile(folder.path(u"lyrics.txt"_s), bytes);
        LineList lines, shown;
        QVERIFY(LoadLyrics(folder.path(u"lyrics.txt"_s), lines, shown));
        QCOMPARE(linesOf(lines), List1);
        QCOMPARE(linesOf(shown), List2);

        for (qsizetype cut = 0; cut <= bytes.size(); ++cut) {
            Cp932Decoder decoder;
            QString text;
            decoder.decode(QByteArrayView(bytes).first(cut), text);
            decoder.decode(QByteArrayView(bytes).sliced(cut), text);
            decoder.finish(text);
            QCOMPARE(text, decodeCp932(bytes));
        }
    }

    // A new load replaces the old lines even when its file cannot be opened; nothing stays
    // selected.
    void aFileThatCannotBeOpenedEmptiesTheLists()
    {
        DiscFixture folder;
        writeFile(folder.path(u"old.txt"_s), "[00:01]old"_ba);
        LineList List1, List2;
        QVERIFY(LoadLyrics(folder.path(u"old.txt"_s), List1, List2));
        QVERIFY(List1.setSelection(0));
        QVERIFY(!LoadLyrics(folder.path(u"missing.txt"_s), List1, List2));
        QCOMPARE(List1.count() + List2.count(), 0);
        QCOMPARE(List1.selection(), -1);
    }
};

QTEST_GUILESS_MAIN(LyricsTest)
#include "tst_lyrics.moc"
