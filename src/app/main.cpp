#include "colors.h"
#include "dialogs.h"
#include "form1.h"
#include "programfolder.h"
#include "sdlaudiosink.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

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

// The program speaks Japanese whatever the locale, and so do Qt's own dialogs.
void speakJapanese(QTranslator& translator)
{
    if (translator.load(QStringLiteral("qtbase_ja"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&translator);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvanta"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.corvanta.Corvanta"));
    preferJapaneseFaces();
    QTranslator qtTranslator;
    speakJapanese(qtTranslator);

    SdlAudioOutput output;
    Colors colors;
    QtDialogs dialogs;
    PlayerDevices devices;
    devices.makeSink = output.factory();
    devices.setVolume = [&output](double volume) { output.setVolume(volume); };
    Form1 window(colors, programFolder(), devices, dialogs);
    window.show();
    return QApplication::exec();
}
