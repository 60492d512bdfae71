#include "discfixture.h"

#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

class CheckTest final : public QObject {
    Q_OBJECT

private slots:
    void reportsEachCause_data()
    {
        QTest::addColumn<QByteArray>("lyrics");     // song.txt, code page 932
        QTest::addColumn<QStringList>("arguments"); // before the file; "disc": the image's path
        QTest::addColumn<QStringList>("reported");  // each "LINES: a part of the message"
        QTest::addColumn<int>("status");
        const QStringList noDisc;
        QTest::newRow("every line lights up")
            << "title\r\n[00:00]a\r\n[00:01]b\r\n[59:59]c"_ba << noDisc << QStringList() << 0;
        QTest::newRow("not a tag as the player writes it")
            << "[00:01]a\r\n[1:05]b\r\nc\r\n[01:06]d\r\n[01:07]e"_ba << noDisc
            << QStringList{u"2: 「[1:05]」は時間タグの形ではありません"_s,
                           u"4-5: 2行目で歌詞が止まる"_s}
            << 1;
        QTest::newRow("other shapes")
            << "[01:05.30]a\r\n[00:60]b\r\n[x"_ba << noDisc
            << QStringList{u"1: 「[01:05.30]」"_s, u"2: 「[00:60]」"_s, u"3: 「[x」"_s} << 1;
        QTest::newRow("100 minutes or more")
            << "[99:59]a\r\n[100:00]b"_ba << noDisc
            << QStringList{u"2: 時間タグ [100:00] は100分以上"_s} << 1;
        QTest::newRow("the same time as the line before")
            << "[00:03]a\r\n[00:03]b\r\n[00:04]c"_ba << noDisc
            << QStringList{u"2: 時間タグ [00:03] が前のタグ付きの行 (1行目) と同じ"_s,
                           u"3: 2行目で歌詞が止まる"_s}
            << 1;
        QTest::newRow("earlier than the line before")
            << "[00:05]a\r\n\r\n[00:04]b"_ba << noDisc
            << QStringList{u"3: 時間タグ [00:04] が前のタグ付きの行 (1行目、[00:05]) より前"_s}
            << 1;
        QTest::newRow("the track ends at the second of its length")
            << "[00:04]a\r\n[00:05]b"_ba << QStringList{u"--image"_s, u"disc"_s}
            << QStringList{u"2: 時間タグ [00:05] がトラックの終わり以降です。トラックは [00:05]"_s}
            << 1;
        QTest::newRow("track 2 of the disc")
            << "[00:01]a\r\n[00:02]b"_ba
            << QStringList{u"--image"_s, u"disc"_s, u"--track"_s, u"2"_s}
            << QStringList{u"2: 時間タグ [00:02] がトラックの終わり以降です。トラックは [00:02]"_s}
            << 1;
        QTest::newRow("only looks tagged: a note")
            << " [00:01]a\r\n\x81\x6d"
               "00:02\x81\x6e"
               "b"_ba
            << noDisc << QStringList{u"1: 注意"_s, u"2: 注意"_s} << 0;
        QTest::newRow("no such track")
            << "a"_ba << QStringList{u"--image"_s, u"disc"_s, u"--track"_s, u"3"_s} << QStringList()
            << 2;
        QTest::newRow("no disc image")
            << "a"_ba << QStringList{u"--image"_s, u"gone.cue"_s} << QStringList() << 2;
        QTest::newRow("an image and a drive")
            << "a"_ba << QStringList{u"--image"_s, u"disc"_s, u"--drive"_s, u"D:"_s}
            << QStringList() << 2;
        QTest::newRow("a file that cannot be read")
            << "[00:01]a"_ba << QStringList{u"missing.txt"_s} << QStringList() << 2;
    }

    // The messages say where, in the form editors jump to, and why; the status sums them up.
    void reportsEachCause()
    {
        QFETCH(QByteArray, lyrics);
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, reported);
        QFETCH(int, status);
        DiscFixture folder;
        const QString disc = folder.makeDisc(u"disc"_s, {u"5500"_s, u"2000"_s});
        writeFile(folder.path(u"song.txt"_s), lyrics);
        arguments.replaceInStrings(QRegularExpression(u"^disc$"_s), disc);
        QProcess check;
        check.setWorkingDirectory(folder.programFolder());
        check.start(QStringLiteral(CHECK_PATH), arguments << u"song.txt"_s);
        QVERIFY(check.waitForFinished());
        const QStringList lines =
            QString::fromUtf8(check.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), reported.size());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const qsizetype colon = reported[i].indexOf(u':');
            QVERIFY2(lines[i].startsWith(u"song.txt:"_s + reported[i].first(colon + 2)) &&
                         lines[i].contains(reported[i].sliced(colon + 2)),
                     qPrintable(lines[i]));
        }
        QCOMPARE(check.exitCode(), status);
        QCOMPARE(check.readAllStandardError().isEmpty(), status != 2);
    }
};

QTEST_GUILESS_MAIN(CheckTest)
#include "tst_check.moc"
