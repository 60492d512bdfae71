#include "../app/mainwindow.h"

#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QProcess>

using namespace Qt::StringLiterals;

namespace {

const QString kService = u"org.mpris.MediaPlayer2.corvanta"_s;
const QString kPath = u"/org/mpris/MediaPlayer2"_s;

} // namespace

// Run on a private session bus of its own.
class MprisTest final : public QObject {
    Q_OBJECT

private slots:
    // What the bus shows and what its calls do to the window, each as the user's own press.
    void theWindowOnTheBus()
    {
        MainWindow main({u"6000"_s, u"3000"_s});
        main.openLyrics("[00:00]first\r\n"_ba);
        QDBusInterface root(kService, kPath, u"org.mpris.MediaPlayer2"_s);
        QDBusInterface player(kService, kPath, u"org.mpris.MediaPlayer2.Player"_s);
        QVERIFY(QDBusConnection::sessionBus().connect(
            kService, kPath, u"org.freedesktop.DBus.Properties"_s, u"PropertiesChanged"_s, this,
            SLOT(propertiesChanged(QString, QVariantMap, QStringList))));
        QCOMPARE(root.property("DesktopEntry"), u"io.github.corvanta.Corvanta"_s);
        QVERIFY(player.property("CanPause").toBool() && !player.property("CanSeek").toBool());
        QVariantMap metadata = player.property("Metadata").toMap();
        QCOMPARE(metadata[u"xesam:asText"_s], u"[00:00]first"_s);
        QCOMPARE(metadata[u"mpris:length"_s], 6'000'000LL);

        player.call(u"Play"_s);
        QVERIFY(main.synchronising());
        QTRY_COMPARE(changed.value(u"PlaybackStatus"_s), u"Playing"_s);
        main.tick(1500);
        QCOMPARE(player.property("Position"), 1'500'000LL);
        player.call(u"Next"_s); // plays on with track 2
        QVERIFY(main.playing());
        QCOMPARE(main.player().position(), 8000);
        QTRY_COMPARE(qdbus_cast<QVariantMap>(changed.value(u"Metadata"_s))[u"xesam:trackNumber"_s],
                     2);
        QVERIFY(!player.property("CanGoNext").toBool());

        main.answers.inWindow = [&player](QDialog& settings) {
            player.call(u"Pause"_s); // the window takes no input, and neither does the bus
            settings.close();
        };
        main.press(u"設定"_s);
        QVERIFY(main.playing());
        player.call(u"PlayPause"_s);
        QVERIFY(!main.playing());
        QCOMPARE(player.property("PlaybackStatus"), u"Stopped"_s);

        // The disc's CD-TEXT names the album, and the title and performer of a track.
        const QString cue = main.fixture.path(u"disc.cue"_s);
        writeFile(cue, "TITLE \"Album\"\nPERFORMER \"Band\"\n" +
                           fileBytes(cue).replace("TRACK 02 AUDIO\n", "TRACK 02 AUDIO\n"
                                                                      "TITLE \"Song\"\n"
                                                                      "PERFORMER \"Singer\"\n"));
        main.answers.inWindow = [](QDialog& settings) {
            QTest::mouseClick(settings.findChild<QPushButton*>(), Qt::LeftButton);
        };
        main.press(u"設定"_s);
        QTRY_COMPARE(player.property("Metadata").toMap()[u"xesam:album"_s], u"Album"_s);
        metadata = player.property("Metadata").toMap();
        QCOMPARE(metadata[u"xesam:title"_s], u"Song"_s);
        QCOMPARE(metadata[u"xesam:artist"_s], QStringList{u"Singer"_s});
    }

    // A second copy takes a name of its own.
    void aSecondCopy()
    {
        MainWindow first;
        QProcess second;
        second.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        second.start(QStringLiteral(CORVANTA_PATH), {u"-platform"_s, u"offscreen"_s});
        QVERIFY(second.waitForStarted());
        const QString name = kService + u".instance%1"_s.arg(second.processId());
        QTRY_VERIFY(QDBusConnection::sessionBus().interface()->isServiceRegistered(name));
        second.kill();
        second.waitForFinished();
    }

    void propertiesChanged(const QString&, const QVariantMap& properties, const QStringList&)
    {
        changed.insert(properties);
    }

private:
    QVariantMap changed;
};

QTEST_MAIN(MprisTest)
#include "tst_mpris.moc"
