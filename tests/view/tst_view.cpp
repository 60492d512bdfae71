#include "linelist.h"
#include "lyricwindow.h"
#include "picturebox.h"

#include <QTest>

using namespace Qt::StringLiterals;

class ViewTest final : public QObject {
    Q_OBJECT

private slots:
    void drawsTheWindowAroundTheFirstTaggedLine_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("centre");
        QTest::addColumn<int>("selection");
        QStringList thirty;
        for (int i = 0; i < 30; ++i)
            thirty << (i == 12 ? u"[00:12]"_s : u"line %1"_s.arg(i));
        QTest::newRow("middle") << thirty << 12 << 12;
        QTest::newRow("first line tagged") << QStringList{u"[x"_s, u"b"_s} << 0 << 0;
        QTest::newRow("none tagged: line 0, the last selected")
            << QStringList{u"a"_s, u" [00:01]"_s, u"c"_s} << 0 << 2;
        QTest::newRow("no lines") << QStringList() << 0 << -1;
    }

    // Seven rows before the centre and ten after it, blank where there is no line.
    void drawsTheWindowAroundTheFirstTaggedLine()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, centre);
        QFETCH(int, selection);
        LineList List1;
        for (const QString& line : lines)
            List1.append(line);
        QCOMPARE(FindFirstTaggedLine(List1), centre);
        QCOMPARE(List1.selection(), selection);

        PictureBox view;
        view.Print(u"left over"_s);
        DrawLyricWindow(view, List1, centre, Qt::red, Qt::green);
        QList<PictureBox::Row> rows;
        for (int line = centre - 7; line <= centre + 10; ++line)
            rows.append({line >= 0 && line < lines.size() ? lines[line] : u" "_s,
                         line == centre ? Qt::red : Qt::green});
        QCOMPARE(view.rows(), rows);
    }
};

QTEST_MAIN(ViewTest)
#include "tst_view.moc"
