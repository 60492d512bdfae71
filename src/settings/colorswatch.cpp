#include "colorswatch.h"

#include "color.h"

#include <QMouseEvent>

ColorSwatch::ColorSwatch(qint32 value, QWidget* parent) : QLabel(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setAutoFillBackground(true);
    setValue(value);
}

void ColorSwatch::setValue(qint32 value)
{
    value_ = value;
    QPalette colours = palette();
    colours.setColor(QPalette::Window, toQColor(value, colours));
    setPalette(colours);
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
