#include "discfixture.h"
#include "regularfile.h"

#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

class CheckTest final : public QObject {
    Q_OBJECT

private slots:
    void reportsEachCause_data()
    {
        QTest::addColumn<QByteArray>("lyrics"); // song.txt, code page 932
        QTest::addColumn<QString>("arguments"); // before the file; disc: tracks of 5.5 s and 2 s
        QTest::addColumn<QString>("reported");  // a line each: "LINES: part of the message"
        QTest::addColumn<int>("status");
        const auto row = [](const char* name, const QByteArray& lyrics, const QString& arguments,
                            const QString& reported, int status) {
            QTest::newRow(name) << lyrics << arguments << reported << status;
        };
        row("every line lights up", "title\r\n[00:00]a\r\n[00:01]b\r\n[59:59]c", {}, {}, 0);
        row("not a tag as the player writes it", "[00:01]a\r\n[1:05]b\r\nc\r\n[01:06]d\r\n[01:07]e",
            {}, u"2: 「[1:05]」は時間タグの形ではありません\n4-5: 2行目で歌詞が止まる"_s, 1);
        row("other shapes", "[01:05.30]a\r\n[00:60]b\r\n[x", {},
            u"1: 「[01:05.30]」\n2: 「[00:60]」\n3: 「[x」"_s, 1);
        row("100 minutes or more", "[99:59]a\r\n[100:00]b", {},
            u"2: 時間タグ [100:00] は100分以上"_s, 1);
        row("the same time as the line before, where the lyrics stop for good",
            "[00:03]a\r\n[00:03]b\r\n[00:04]c\r\n[1:05]d\r\n[00:05]e", {},
            u"2: 時間タグ [00:03] が前のタグ付きの行 (1行目) と同じ\n3: 2行目で歌詞が止まる\n"
            u"4: 「[1:05]」\n5: 2行目で歌詞が止まる"_s,
            1);
        row("earlier than the line before", "[00:05]a\r\n\r\n[00:04]b", {},
            u"3: 時間タグ [00:04] が前のタグ付きの行 (1行目、[00:05]) より前"_s, 1);
        row("the track ends at the second of its length", "[00:04]a\r\n[00:05]b", u"--image disc"_s,
            u"2: 時間タグ [00:05] がトラックの終わり以降です。トラックは [00:05]"_s, 1);
        row("track 2", "[00:01]a\r\n[00:02]b", u"--image disc --track 2"_s,
            u"2: 時間タグ [00:02] がトラックの終わり以降です。トラックは [00:02]"_s, 1);
        row("only looks tagged: a note",
            " [00:01]a\r\n\x81\x6d"
            "00:02\x81\x6e",
            {}, u"1: 注意\n2: 注意"_s, 0);
        // Status 2: nothing on standard output, the reason on standard error.
        row("no such track", "a", u"--image disc --track 3"_s, u"トラック 3 はありません"_s, 2);
        row("no disc image", "a", u"--image gone.cue"_s,
            u"gone.cue: ディスクを読めません (キューシートがありません)"_s, 2);
        row("an image and a drive", "a", u"--image disc --drive D:"_s, u"使い方"_s, 2);
        row("a file that cannot be read", "a", u"missing.txt"_s, u"missing.txt: 読めません"_s, 2);
        row("a file too large", "a", u"large.txt"_s, u"large.txt: 読めません (大きすぎます"_s, 2);
        row("an image libcdio fails to read", "a", u"--image inner.nrg"_s,
            u"inner.nrg: ディスクを読めません (開けません: unexpected nrg magic ID NER5"_s, 2);
        row("an image libcdio would read past", "a", u"--image long.nrg"_s,
            u"long.nrg: ディスクを読めません (NRG イメージが壊れているか"_s, 2);
    }

    // The messages say where, in the form editors jump to, and why; the status sums them up.
    void reportsEachCause()
    {
        QFETCH(QByteArray, lyrics);
        QFETCH(QString, arguments);
        QFETCH(QString, reported);
        QFETCH(int, status);
        DiscFixture folder;
        const QString disc = folder.makeDisc(u"disc"_s, {u"5500"_s, u"2000"_s});
        writeFile(folder.path(u"song.txt"_s), lyrics);
        writeFile(folder.path(u"large.txt"_s), {});
        QVERIFY(QFile::resize(folder.path(u"large.txt"_s), kLargestLyricsFile + 1)); // sparse
        // NRG images whose chunks hold a footer's tag, and run two gigabytes past their end.
        const QByteArray footer = "NER5\0\0\0\0\0\0\0\x40"_ba;
        writeFile(folder.path(u"inner.nrg"_s), QByteArray(64, 0) + "NER5\0\0\0\0"_ba + footer);
        writeFile(folder.path(u"long.nrg"_s),
                  QByteArray(64, 0) + "XXXX\x7f\xff\xff\xf0"_ba + footer);
        QProcess check;
        check.setWorkingDirectory(folder.programFolder());
        check.start(QStringLiteral(CHECK_PATH),
                    arguments.replace(u"disc"_s, disc).split(u' ', Qt::SkipEmptyParts)
                        << u"song.txt"_s);
        QVERIFY(check.waitForFinished());
        QCOMPARE(check.exitCode(), status);
        const QString errors = QString::fromUtf8(check.readAllStandardError());
        QVERIFY2(status == 2 ? errors.contains(reported) : errors.isEmpty(), qPrintable(errors));
        const QStringList lines =
            QString::fromUtf8(check.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        if (status == 2)
            reported.clear();
        const QStringList expected = reported.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), expected.size());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const qsizetype colon = expected[i].indexOf(u':') + 2;
            QVERIFY2(lines[i].startsWith(u"song.txt:"_s + expected[i].first(colon)) &&
                         lines[i].contains(expected[i].sliced(colon)),
                     qPrintable(lines[i]));
        }
    }
};

QTEST_GUILESS_MAIN(CheckTest)
#include "tst_check.moc"
