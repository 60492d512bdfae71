#include "colors.h"
#include "dialogs.h"
#include "form1.h"
#include "mprisplayer.h"
#include "programfolder.h"
#include "sdlaudiosink.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>

namespace {

// Whether Qt has a platform plugin of this name ("xcb", "wayland", "offscreen", ...).
bool hasPlatformPlugin(QStringView name)
{
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                         QStringLiteral("/platforms"));
    return !platforms.entryList({QStringLiteral("libq%1*").arg(name)}, QDir::Files).isEmpty();
}

// On a Wayland desktop Qt looks for its Wayland plugin first, and writes to stderr at every start
// where it is not installed (the package only recommends qt6-wayland) before it falls back to
// XWayland: without the plugin, XWayland is asked for at once. A platform the user forces stays
// forced, and is refused in one line where none of it is installed, rather than by Qt's abort.
bool choosePlatform()
{
    const QString forced = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (forced.isEmpty()) {
        if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") && !hasPlatformPlugin(u"wayland"))
            qputenv("QT_QPA_PLATFORM", "xcb");
        return true;
    }
    for (const QString& platform : forced.split(u';'))
        if (hasPlatformPlugin(platform.section(u':', 0, 0)))
            return true;
    std::fprintf(stderr, "corvanta: Qt の表示プラグイン %s がありません\n", qPrintable(forced));
    return false;
}

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

// The album named on the command line, if any: a cue sheet, a .toc or .nrg image, or a folder.
QString albumToOpen()
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("音楽CD、ディスクイメージ、リッピングしたアルバ"
                                                    "ムを再生し、曲に合わせて歌詞を表示します。"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("この説明を表示します"));
    parser.addOption(help);
    parser.addPositionalArgument(
        QStringLiteral("アルバム"),
        QStringLiteral("ドライブとして開くキューシート、.toc、.nrg、またはフォルダ"),
        QStringLiteral("[アルバム]"));
    parser.process(QApplication::arguments());
    if (parser.isSet(help))
        parser.showHelp();
    return parser.positionalArguments().value(0);
}

} // namespace

int main(int argc, char* argv[])
{
    if (!choosePlatform())
        return 1;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvanta"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.corvanta.Corvanta"));
    preferJapaneseFaces();
    QTranslator qtTranslator;
    speakJapanese(qtTranslator);
    // A second start with an album hands it to the copy that runs, which opens it, and ends.
    const QString album = albumToOpen();
    if (!album.isEmpty() && MprisPlayer::handOver(QDBusConnection::sessionBus(), album))
        return 0;

    SdlAudioOutput output;
    Colors colors;
    QtDialogs dialogs;
    PlayerDevices devices;
    devices.makeSink = output.factory();
    devices.setVolume = [&output](double volume) { output.setVolume(volume); };
    Form1 window(colors, programFolder(), devices, dialogs);
    window.show();
    if (!album.isEmpty())
        window.openAlbum(album);
    return QApplication::exec();
}
