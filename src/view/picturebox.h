#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QWidget>
#include <algorithm>

// A view that text is printed into row by row, like a sheet of paper: what is printed stays until
// it is cleared. The rows are drawn into an off-screen image when they are next shown, all at
// once, and painting only shows that image. Sized for 18 rows of the lyric font, all fully
// visible.
class PictureBox : public QWidget {
    Q_OBJECT

public:
    static constexpr int kRows = 18;

    struct Row {
        QString text;
        QColor color;
        bool operator==(const Row&) const = default;
    };

    explicit PictureBox(QWidget* parent = nullptr);

    // Setting the back colour clears the view to it.
    void setBackColor(const QColor& color);
    void setForeColor(const QColor& color) { foreColor_ = color; }
    // Clears to the back colour; the next row printed is the top one.
    void Cls();
    // Prints one row in the fore colour and moves to the next; text beyond the right edge is cut.
    void Print(const QString& text);

    // The rows printed since the view was last cleared, top first.
    const QList<Row>& rows() const { return rows_; }
    int rowPitch() const { return std::max(1, height() / kRows); }
    // The lyric font, fitted to the rows once they have been drawn.
    const QFont& font() const { return font_; }
    // What the view shows, in device pixels.
    const QImage& image()
    {
        ensureImage();
        return image_;
    }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fitFontToRows();
    void ensureImage();

    QImage image_;
    bool imageIsStale_ = true; // the rows or the colours have changed since it was drawn
    QFont font_;
    QColor backColor_ = Qt::black;
    QColor foreColor_ = Qt::black;
    int baseline_ = 0; // from the top of a row
    QList<Row> rows_;
};
