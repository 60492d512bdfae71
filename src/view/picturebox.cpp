#include "picturebox.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

// Japanese monospace faces first, so kana and kanji come out in a real Japanese design.
const QStringList kLyricFamilies{QStringLiteral("Noto Sans Mono CJK JP"),
                                 QStringLiteral("IPAGothic"), QStringLiteral("monospace")};
// What the rows must show whole: kana, kanji, brackets, ascenders and descenders.
const QString kInkSample = QStringLiteral("[]|あ漢字ー～①Ågjpqy_");

} // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    font_.setFamilies(kLyricFamilies);
    font_.setBold(true);
    font_.setStyleHint(QFont::Monospace);
}

// The largest font whose ink fits a row of an 18th of the height, centred in it.
void PictureBox::fitFontToRows()
{
    const int pitch = rowPitch();
    QRect ink;
    for (int size = pitch; size > 1; --size) {
        font_.setPixelSize(size);
        ink = QFontMetrics(font_).tightBoundingRect(kInkSample);
        if (ink.height() <= pitch)
            break;
    }
    baseline_ = (pitch - ink.height()) / 2 - ink.top();
}

// Keeps the image the size of the view in device pixels and up to date with the rows. A new size
// or a move to a screen of another scale draws the rows again, crisp at that scale.
void PictureBox::ensureImage()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (image_.isNull() || image_.deviceIndependentSize().toSize() != size()) {
        fitFontToRows();
        imageIsStale_ = true;
    }
    if (image_.size() != pixels) {
        image_ = QImage(pixels, QImage::Format_RGB32);
        image_.setDevicePixelRatio(ratio);
        imageIsStale_ = true;
    }
    if (!imageIsStale_)
        return;
    image_.fill(backColor_);
    QPainter painter(&image_);
    painter.setFont(font_);
    const int pitch = rowPitch();
    for (qsizetype row = 0; row < rows_.size(); ++row) {
        painter.setPen(rows_[row].color);
        painter.drawText(0, int(row) * pitch + baseline_, rows_[row].text);
    }
    imageIsStale_ = false;
}

void PictureBox::setBackColor(const QColor& color)
{
    backColor_ = color;
    imageIsStale_ = true;
    Cls();
}

void PictureBox::Cls()
{
    // Clearing a clear view changes nothing on the screen.
    if (rows_.isEmpty() && !imageIsStale_)
        return;
    rows_.clear();
    imageIsStale_ = true;
    update();
}

void PictureBox::Print(const QString& text)
{
    rows_.append({text, foreColor_});
    imageIsStale_ = true;
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    ensureImage();
    QPainter(this).drawImage(0, 0, image_);
}
