#include "discfixture.h"
#include "linelist.h"
#include "lyricscheck.h"
#include "lyricsfile.h"

#include <QProcess>
#include <QStringEncoder>
#include <QTest>

using namespace Qt::StringLiterals;

// Runs the converter in `folder`; its exit status, and its standard output in `report`.
static int convert(const DiscFixture& folder, const QStringList& arguments, QString& report)
{
    QProcess lrc;
    lrc.setWorkingDirectory(folder.programFolder());
    lrc.start(QStringLiteral(LRC_PATH), arguments);
    const bool finished = lrc.waitForFinished(); // a limit only for a hang
    report = QString::fromUtf8(lrc.readAllStandardOutput());
    return finished ? lrc.exitCode() : -1;
}

static QByteArray utf16(QStringConverter::Encoding encoding, const QString& text)
{
    return QStringEncoder(encoding, QStringConverter::Flag::WriteBom).encode(text);
}

static QByteArray encoded(const char* name, const QString& text)
{
    return QStringEncoder(name).encode(text);
}

class LrcTest final : public QObject {
    Q_OBJECT

private slots:
    void playerShowsEachLineOnce_data()
    {
        QTest::addColumn<QByteArray>("lrc");
        QTest::addColumn<QStringList>("lines"); // as LoadLyrics reads them back
        QTest::addColumn<QString>("reported");  // the LRC lines reported
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("arguments");
        const auto row = [](const char* name, const QByteArray& lrc, const QString& lines,
                            const QString& reported = {}, int status = 0,
                            const QString& arguments = {}) {
            QTest::newRow(name) << lrc << lines.split(u'|') << reported << status << arguments;
        };
        const QString ja =
            u"[00:01]君の名前を呼んだ夜に\n[00:05]星が静かに流れていた\n[00:09]遠い街の灯りが揺れて"_s;
        const QString jaShown = QString(ja).replace(u'\n', u'|');
        const QString zh = u"[00:01][00:09]这让你们说吗\n[00:05]谁给爱还会过"_s;
        row("UTF-8 with a mark, however many stray bytes", "\xEF\xBB\xBF[00:01]\xE3\x81\x82\xE9",
            u"[00:01]あ?"_s, u"1,全部で 1 文字を「?」にしました"_s, 1);
        row("UTF-16 LE", utf16(QStringConverter::Utf16LE, u"[00:02]い\r\n"_s), u"[00:02]い"_s,
            u"文字コード UTF-16LE として読みました"_s);
        row("UTF-16 BE", utf16(QStringConverter::Utf16BE, u"[00:02]い"_s), u"[00:02]い"_s,
            u"文字コード UTF-16BE として読みました"_s);
        row("UTF-16 without a mark", encoded("UTF-16LE", u"[00:01]Sakura"_s), u"[00:01]Sakura"_s,
            u"文字コード UTF-16LE として読みました"_s);
        row("code page 932", encoded("Shift_JIS", ja + u"～"_s), jaShown + u"～"_s,
            u"文字コード コードページ932 (Shift_JIS) として読みました"_s);
        row("EUC-JP", encoded("EUC-JP", ja), jaShown, u"文字コード EUC-JP として読みました"_s);
        row("UTF-8 with a stray Latin-1 byte", ja.toUtf8().replace("夜", "\xE9"),
            QString(jaShown).replace(u'夜', u'?'), u"1,全部で 1 文字を「?」にしました"_s, 1);
        row("NUL, U+FFFD, a mark between files joined",
            "[00:05]a\0b\xEF\xBF\xBD\n\xEF\xBB\xBF[00:02]c"_ba, u"[00:02]c|[00:05]a?b?"_s,
            u"1,全部で 2 文字を「?」にしました"_s, 1);
        row("Chinese refused", encoded("GB18030", zh), {}, {}, 2);
        row("Chinese read as named", encoded("GB18030", zh),
            u"[00:01]??????|[00:05]????会?|[00:09]??????"_s,
            u"文字コード GB18030 として読みました,1,2,全部で 11 文字を「?」にしました"_s, 1,
            u"--encoding GB18030"_s);
        row("Korean refused",
            encoded("EUC-KR", u"[00:01]사랑해요 당신을 정말로\n[00:05]우리 함께"_s), {}, {}, 2);
        row("Latin-1 refused", "[00:01]Caf\xE9 au lait, s'il vous pla\xEEt\n[00:05]D\xE9j\xE0 vu",
            {}, {}, 2);
        row("tag forms, rounded to the nearest second",
            "[1:05]a\n[01:06.6]b\n[01:08.45]c\r\n[01:09.499]d\r[01:10:50]e",
            u"[01:05]a|[01:07]b|[01:08]c|[01:09]d|[01:11]e"_s);
        row("positive offset shows sooner", "[offset:+1500]\n[00:05]a\n[00:10]b",
            u"[00:04]a|[00:09]b"_s);
        row("negative offset shows later", "[offset:-600]\n[00:01]a", u"[00:02]a"_s);
        row("offset before the start", "[offset:+3000]\n[00:01]a", u"[00:00]a"_s, u"2"_s, 1);
        row("information tags and comments",
            "[ti:Song]\n[ar:Me]\n[al:x]\n[au:y]\n[by:z]\n[re:r]\n[ve:1]\n[length:03:00]\n[#c]\n"
            "[00:01]a",
            u"Song / Me|[00:01]a"_s);
        row("artist only, word times", "[AR:Me]\n[00:01]<00:01.00>ab<00:01.50>cd",
            u"Me|[00:01]abcd"_s);
        row("untagged lines follow theirs", "intro\n[00:02]a\n\n[x]\n[00:01]c",
            u"intro|[00:01]c|[00:02]a||［x]"_s);
        row("two lines in one second", "[00:01.10]a\n[00:01.40]b\n[00:02.00]c",
            u"[00:01]a|[00:02]b|[00:03]c"_s, u"2,3"_s, 1);
        row("chorus with several tags", "[00:05][00:01]x\nmore\n[00:03]y",
            u"[00:01]x|more|[00:03]y|[00:05]x|more"_s);
        row("look-alikes, and what code page 932 lacks",
            "[00:01]\xE3\x80\x9C\xE2\x80\x96\xE2\x88\x92\xC2\xA2\xC2\xA3\xC2\xAC\xF0\x9F\x98\x80",
            u"[00:01]～∥－￠￡￢?"_s, u"1,全部で 1 文字を「?」にしました"_s, 1);
        row("100 minutes or more", "[99:59.4]a\n[99:59.45]b\n[100:00]c", u"[99:59]a|b"_s, u"2,3"_s,
            1);
        row("tags in any order, blanks, keys of any name, brackets in a value",
            " [offset:1000][00:02.00]a\n[la:JP][id:x]\n[00:03] [ti:T] b\n[by:the [LRC] maker]",
            u"T|[00:01]a|[00:02]b"_s);
        row("word times in brackets", "[00:24:20]\xE6\x9C\x9D [00:24:91]x[00:25:08]y",
            u"[00:24]朝 xy"_s);
        row("tags that are no time", "[00:01]a\n[02:83.375]b\n[10.00]c",
            u"[00:01]a|［02:83.375]b|［10.00]c"_s, u"2,3"_s, 1);
        row("a lyric and its translation", "[00:01.00]a\n[00:01.00]A\n[00:02.50]b\n[00:02.50]B",
            u"[00:01]a|A|[00:03]b|B"_s, u"2,4"_s, 1);
        row("no second near enough: below the line before", "[00:01.1]a\n[00:01.2]b\n[00:01.3]c",
            u"[00:01]a|[00:02]b|c"_s, u"2,3"_s, 1);
    }

    // Every tagged line lights up; each line moved, left out or changed is reported by number, the
    // encoding when it is not UTF-8. A file read as an encoding it is unlikely in is not written.
    void playerShowsEachLineOnce()
    {
        QFETCH(QByteArray, lrc);
        QFETCH(QStringList, lines);
        QFETCH(QString, reported);
        QFETCH(int, status);
        QFETCH(QString, arguments);
        DiscFixture folder;
        writeFile(folder.path(u"song.lrc"_s), lrc);
        QString report;
        QCOMPARE(
            convert(folder, arguments.split(u' ', Qt::SkipEmptyParts) << u"song.lrc"_s, report),
            status);
        QStringList reportedLines; // line numbers, and what is said of the whole file
        for (const QString& line : report.split(u'\n', Qt::SkipEmptyParts))
            reportedLines << line.section(u':', 1, 1).trimmed();
        QCOMPARE(reportedLines.join(u','), reported);
        if (status == 2) {
            QVERIFY(!QFile::exists(folder.path(u"song.txt"_s)));
            return;
        }

        LineList List1, List2;
        QVERIFY(LoadLyrics(folder.path(u"song.txt"_s), List1, List2));
        QStringList loaded;
        for (int i = 0; i < List1.count(); ++i)
            loaded << List1.at(i).toString();
        QCOMPARE(loaded, lines);
        for (const Finding& finding : CheckLyrics(List1, std::nullopt))
            QVERIFY2(finding.isNote, qPrintable(finding.message));
    }

    void refuses_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("status");
        QTest::newRow("output exists") << u"song.lrc"_s << 2;
        QTest::newRow("replaced with --force") << u"--force song.lrc"_s << 0;
        QTest::newRow("its own output, even with --force") << u"--force old.txt"_s << 2;
        QTest::newRow("onto itself by another path") << u"--force -o ./song.lrc song.lrc"_s << 2;
        QTest::newRow("no file") << QString() << 2;
        QTest::newRow("-o with two files") << u"-o new.txt song.lrc song.lrc"_s << 2;
        QTest::newRow("unknown option") << u"--bogus -o new.txt song.lrc"_s << 2;
        QTest::newRow("unreadable") << u"-o new.txt gone.lrc"_s << 2;
        QTest::newRow("unknown encoding") << u"--encoding bogus -o new.txt song.lrc"_s << 2;
    }

    // Without --force nothing is overwritten, and with status 2 nothing is written at all.
    void refuses()
    {
        QFETCH(QString, arguments);
        QFETCH(int, status);
        DiscFixture folder;
        writeFile(folder.path(u"song.lrc"_s), "[00:01]new");
        writeFile(folder.path(u"song.txt"_s), "old");
        writeFile(folder.path(u"old.txt"_s), "old");
        QString report;
        QCOMPARE(convert(folder, arguments.split(u' ', Qt::SkipEmptyParts), report), status);
        QCOMPARE(fileBytes(folder.path(u"song.txt"_s)), status == 0 ? "[00:01]new\r\n" : "old");
        QVERIFY(fileBytes(folder.path(u"old.txt"_s)) == "old" &&
                !QFile::exists(folder.path(u"new.txt"_s)));
    }
};

QTEST_GUILESS_MAIN(LrcTest)
#include "tst_lrc.moc"
