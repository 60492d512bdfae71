#include "titlebar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QWindow>

namespace {

constexpr int kHeight = 28;

} // namespace

TitleBar::TitleBar(QWidget& window) : QWidget(&window)
{
    setGeometry(0, 0, window.width(), kHeight);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Midlight);
    auto* close = new QToolButton(this);
    close->setText(QStringLiteral("✕"));
    close->setAutoRaise(true);
    close->setFocusPolicy(Qt::NoFocus);
    close->setToolTip(QStringLiteral("閉じる"));
    close->setGeometry(width() - kHeight, 0, kHeight, kHeight);
    connect(close, &QToolButton::clicked, &window, &QWidget::close);
}

void TitleBar::addTo(QWidget& window)
{
    // Read when the window is made; setWindowFlags() would keep the frame on Wayland.
    window.overrideWindowFlags(window.windowFlags() | Qt::FramelessWindowHint);
    const QSize inside = window.size();
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->move(child->pos() + QPoint(0, kHeight));
    new TitleBar(window);
    window.setFixedSize(inside.width(), inside.height() + kHeight);
}

void TitleBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(
        window()->isActiveWindow() ? QPalette::Active : QPalette::Inactive, QPalette::WindowText));
    painter.drawText(rect().adjusted(kHeight, 0, -kHeight, 0), Qt::AlignCenter,
                     window()->windowTitle());
}

void TitleBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && window()->windowHandle())
        window()->windowHandle()->startSystemMove();
}
