#pragma once

#include <QWidget>

// A title bar drawn by the program for a window the compositor does not decorate (Wayland
// without xdg-decoration), following the window's flags as Qt's own does not: the window's title
// and a close button, no minimise or maximise for a window of fixed size. Dragging it moves the
// window.
class TitleBar : public QWidget {
    Q_OBJECT

public:
    explicit TitleBar(QWidget& window);

    // Gives a window of fixed size, not yet shown, a bar of its own instead of the platform's
    // frame: everything in it moves down by the bar's height, and the window grows by as much.
    static void addTo(QWidget& window);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
