#include "colors.h"
#include "form1.h"
#include "programfolder.h"
#include "sdlaudiosink.h"

#include <QApplication>

namespace {

// Kana and kanji in a Japanese design whatever the locale: after the desktop's own face, the
// Japanese variant of the CJK faces comes first.
void preferJapaneseFaces()
{
    QFont font = QApplication::font();
    font.setFamilies(
        {font.family(), QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAPGothic")});
    QApplication::setFont(font);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvanta"));
    QApplication::setDesktopFileName(QStringLiteral("corvanta"));
    preferJapaneseFaces();

    Colors colors;
    Form1 window(colors, programFolder(), makeSdlAudioSink);
    window.show();
    return QApplication::exec();
}
