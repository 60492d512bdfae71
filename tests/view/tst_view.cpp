#include "linelist.h"
#include "lyricwindow.h"
#include "picturebox.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr QSize kViewSize(577, 329);

// Whether any pixel of rows [first, last] of the view has the colour.
bool rowsShow(PictureBox& view, int first, int last, const QColor& color)
{
    const QImage& image = view.image();
    const qreal ratio = image.devicePixelRatio();
    const int top = int(first * view.rowPitch() * ratio);
    const int bottom = std::min(image.height(), int((last + 1) * view.rowPitch() * ratio));
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == color)
                return true;
        }
    }
    return false;
}

LineList lineList(const QStringList& lines)
{
    LineList list;
    for (const QString& line : lines)
        list.append(line);
    return list;
}

// The 18 rows expected around a centre: its texts, blank where no line is.
QList<PictureBox::Row> windowRows(const QStringList& lines, int centre)
{
    QList<PictureBox::Row> rows;
    for (int index = centre - 7; index <= centre + 10; ++index)
        rows.append({index >= 0 && index < lines.size() ? lines[index] : u" "_s,
                     index == centre ? QColor(Qt::red) : QColor(Qt::green)});
    return rows;
}

} // namespace

class ViewTest final : public QObject {
    Q_OBJECT

private slots:
    void eighteenRowsFitTheView();
    void printsRowByRowAndClears();
    void drawsEighteenRowsAroundTheCentre_data();
    void drawsEighteenRowsAroundTheCentre();
    void findsTheFirstTaggedLine_data();
    void findsTheFirstTaggedLine();
};

void ViewTest::eighteenRowsFitTheView()
{
    PictureBox view;
    view.resize(kViewSize);
    view.setBackColor(Qt::black);
    view.setForeColor(Qt::white);
    for (int row = 0; row < PictureBox::kRows; ++row)
        view.Print(u"[00:00]あいうえお漢字ｶﾀｶﾅ gjpqy_～"_s);
    QCOMPARE(view.rowPitch(), kViewSize.height() / PictureBox::kRows);
    // The last row's ink lies inside the view.
    QVERIFY(rowsShow(view, PictureBox::kRows - 1, PictureBox::kRows - 1, Qt::white));
    // Rows do not bleed into each other: a single row printed leaves the next one blank.
    view.Cls();
    view.Print(u"gjpqy_あ漢"_s);
    QVERIFY(rowsShow(view, 0, 0, Qt::white));
    QVERIFY(!rowsShow(view, 1, PictureBox::kRows - 1, Qt::white));
}

void ViewTest::printsRowByRowAndClears()
{
    PictureBox view;
    view.resize(kViewSize);
    view.setBackColor(Qt::blue);
    view.setForeColor(Qt::yellow);
    view.Print(QString(500, u'あ')); // cut at the right edge, the next row where it belongs
    view.setForeColor(Qt::red);
    view.Print(u"二行目"_s);
    QVERIFY(!rowsShow(view, 0, 0, Qt::red));
    QVERIFY(rowsShow(view, 1, 1, Qt::red));
    QVERIFY(!rowsShow(view, 2, PictureBox::kRows - 1, Qt::red));

    view.setBackColor(Qt::darkGreen); // clears, too
    QCOMPARE(view.image().pixelColor(0, 0), QColor(Qt::darkGreen));
    QVERIFY(!rowsShow(view, 0, PictureBox::kRows - 1, Qt::red));
    view.Print(u"最初"_s);
    QVERIFY(rowsShow(view, 0, 0, Qt::red));
}

void ViewTest::drawsEighteenRowsAroundTheCentre_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("centre");
    QStringList thirty;
    for (int i = 0; i < 30; ++i)
        thirty << u"       line %1"_s.arg(i);
    QTest::newRow("centre 0: seven blank rows above") << thirty << 0;
    QTest::newRow("middle") << thirty << 12;
    QTest::newRow("last line: ten blank rows below") << thirty << 29;
    QTest::newRow("fewer lines than rows") << QStringList{u"a"_s, QString(), u"c"_s} << 1;
    QTest::newRow("no lines") << QStringList() << 0;
}

void ViewTest::drawsEighteenRowsAroundTheCentre()
{
    QFETCH(QStringList, lines);
    QFETCH(int, centre);
    PictureBox view;
    view.resize(kViewSize);
    view.Print(u"left over"_s);
    DrawLyricWindow(view, lineList(lines), centre, Qt::red, Qt::green);
    QCOMPARE(view.rows(), windowRows(lines, centre));
}

void ViewTest::findsTheFirstTaggedLine_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("found");
    QTest::addColumn<int>("selection");
    QTest::newRow("after a title")
        << QStringList{u"title"_s, QString(), u"[x"_s, u"[00:02]"_s} << 2 << 2;
    QTest::newRow("first line tagged") << QStringList{u"[00:01]a"_s, u"b"_s} << 0 << 0;
    QTest::newRow("none tagged: 0, left on the last")
        << QStringList{u"a"_s, u" [00:01]"_s, u"c"_s} << 0 << 2;
    QTest::newRow("no lines") << QStringList() << 0 << -1;
}

void ViewTest::findsTheFirstTaggedLine()
{
    QFETCH(QStringList, lines);
    QFETCH(int, found);
    QFETCH(int, selection);
    LineList List1 = lineList(lines);
    QCOMPARE(FindFirstTaggedLine(List1), found);
    QCOMPARE(List1.selection(), selection);
}

QTEST_MAIN(ViewTest)
#include "tst_view.moc"
