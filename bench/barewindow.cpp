// The floor for start-up: a Qt Widgets program that shows the main window's controls, captions
// and fonts, and does none of the player's own work (no settings, no disc, no audio, no lyrics).

#include "twips.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

namespace {

void addButton(const QString& caption, const QRect& geometry, QWidget& window)
{
    (new QPushButton(caption, &window))->setGeometry(geometry);
}

void addToolButton(QStyle::StandardPixmap icon, const QPoint& at, QWidget& window)
{
    auto* button = new QToolButton(&window);
    button->setIcon(window.style()->standardIcon(icon));
    button->setGeometry(QRect(at, QSize(27, 22)));
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QFont font = QApplication::font();
    font.setFamilies({font.family(), QStringLiteral("Noto Sans CJK JP")});
    QApplication::setFont(font);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Corvanta"));
    window.setFixedSize(twips(8700), twips(5625));

    auto* view = new QWidget(&window);
    view->setGeometry(twipsRect(0, 600, 8655, 4935));
    view->setAutoFillBackground(true);
    (new QComboBox(&window))->setGeometry(twipsRect(6120, 120, 1695, 300));
    addToolButton(QStyle::SP_MediaPlay, {twips(5280), twips(120)}, window);
    addToolButton(QStyle::SP_MediaStop, {twips(5280) + 27, twips(120)}, window);
    addButton(QStringLiteral("更新"), twipsRect(7920, 120, 735, 375), window);
    addButton(QStringLiteral("開く"), twipsRect(120, 120, 735, 375), window);
    addButton(QStringLiteral("設定"), twipsRect(960, 120, 735, 375), window);

    auto* elapsed = new QLabel(&window);
    elapsed->setGeometry(twipsRect(3840, 120, 1290, 330));
    QFont elapsedFont({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("sans-serif")}, 0,
                      QFont::Bold);
    elapsedFont.setPointSizeF(15.75);
    elapsed->setFont(elapsedFont);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
    window.show();
    return QApplication::exec();
}
