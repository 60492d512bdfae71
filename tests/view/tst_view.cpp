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

} // namespace

class ViewTest final : public QObject {
    Q_OBJECT

private slots:
    void eighteenRowsFitTheView();
    void printsRowByRowInTheForeColour();
    void clearingReturnsToTheTop();
    void longTextIsCutAtTheRightEdge();
};

void ViewTest::eighteenRowsFitTheView()
{
    PictureBox view;
    view.resize(kViewSize);
    view.setBackColor(Qt::black);
    view.setForeColor(Qt::white);
    for (int row = 0; row < PictureBox::kRows; ++row)
        view.Print(u"[00:00]あいうえお漢字ｶﾀｶﾅ gjpqy_～"_s);
    QVERIFY(view.rowPitch() * PictureBox::kRows <= kViewSize.height());
    QCOMPARE(view.rowPitch(), kViewSize.height() / PictureBox::kRows);
    // The last row's ink lies inside the view, and a nineteenth row would be off it.
    QVERIFY(rowsShow(view, PictureBox::kRows - 1, PictureBox::kRows - 1, Qt::white));
    // Rows do not bleed into each other: a single row printed leaves the next one blank.
    view.Cls();
    view.Print(u"gjpqy_あ漢"_s);
    QVERIFY(rowsShow(view, 0, 0, Qt::white));
    QVERIFY(!rowsShow(view, 1, PictureBox::kRows - 1, Qt::white));
}

void ViewTest::printsRowByRowInTheForeColour()
{
    PictureBox view;
    view.resize(kViewSize);
    view.setBackColor(Qt::blue);
    view.setForeColor(Qt::yellow);
    view.Print(QString());
    view.Print(u"二行目"_s);
    view.setForeColor(Qt::red);
    view.Print(u"三行目"_s);
    QVERIFY(!rowsShow(view, 0, 0, Qt::yellow));
    QVERIFY(rowsShow(view, 1, 1, Qt::yellow));
    QVERIFY(!rowsShow(view, 1, 1, Qt::red));
    QVERIFY(rowsShow(view, 2, 2, Qt::red));
    QVERIFY(!rowsShow(view, 3, PictureBox::kRows - 1, Qt::red));
}

void ViewTest::clearingReturnsToTheTop()
{
    PictureBox view;
    view.resize(kViewSize);
    view.setForeColor(Qt::white);
    view.Print(u"一"_s);
    view.Print(u"二"_s);
    view.setBackColor(Qt::darkGreen); // clears, too
    QCOMPARE(view.image().pixelColor(0, 0), QColor(Qt::darkGreen));
    QVERIFY(!rowsShow(view, 0, PictureBox::kRows - 1, Qt::white));
    view.Print(u"最初"_s);
    QVERIFY(rowsShow(view, 0, 0, Qt::white));
    view.Cls();
    QVERIFY(!rowsShow(view, 0, PictureBox::kRows - 1, Qt::white));
}

void ViewTest::longTextIsCutAtTheRightEdge()
{
    PictureBox view;
    view.resize(kViewSize);
    view.setForeColor(Qt::white);
    view.Print(QString(500, u'あ'));
    view.Print(u"次"_s);
    QCOMPARE(view.image().size(), kViewSize * view.image().devicePixelRatio());
    QVERIFY(rowsShow(view, 1, 1, Qt::white)); // the next row is where it belongs
}

QTEST_MAIN(ViewTest)
#include "tst_view.moc"
