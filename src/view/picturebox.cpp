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
    rowPitch_ = std::max(1, height() / kRows);
    QRect ink;
    for (int size = rowPitch_; size > 1; --size) {
        font_.setPixelSize(size);
        ink = QFontMetrics(font_).tightBoundingRect(kInkSample);
        if (ink.height() <= rowPitch_)
            break;
    }
    baseline_ = (rowPitch_ - ink.height()) / 2 - ink.top();
}

// Keeps the image the size of the view in device pixels. A new size starts blank; a move to a
// screen of another scale keeps what was printed, resampled, until the next clear.
void PictureBox::ensureImage()
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (image_.size() == pixels)
        return;
    if (image_.isNull() || image_.deviceIndependentSize().toSize() != size()) {
        fitFontToRows();
        image_ = QImage(pixels, QImage::Format_RGB32);
        image_.fill(backColor_);
        rows_.clear();
    } else {
        image_ = image_.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    image_.setDevicePixelRatio(ratio);
}

void PictureBox::setBackColor(const QColor& color)
{
    backColor_ = color;
    Cls();
}

void PictureBox::Cls()
{
    ensureImage();
    image_.fill(backColor_);
    rows_.clear();
    update();
}

void PictureBox::Print(const QString& text)
{
    ensureImage();
    QPainter painter(&image_);
    painter.setFont(font_);
    painter.setPen(foreColor_);
    painter.drawText(0, int(rows_.size()) * rowPitch_ + baseline_, text);
    rows_.append({text, foreColor_});
    update();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    ensureImage();
    QPainter(this).drawImage(0, 0, image_);
}
