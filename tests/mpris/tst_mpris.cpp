#include "../app/mainwindow.h"

#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QProcess>

using namespace Qt::StringLiterals;

namespace {

const QString kService = u"org.mpris.MediaPlayer2.corvanta"_s;
const QString kPath = u"/org/mpris/MediaPlayer2"_s;
const QString kPlayer = u"org.mpris.MediaPlayer2.Player"_s;

} // namespace

// Run on a private session bus of its own.
class MprisTest final : public QObject {
    Q_OBJECT

private slots:
    // What the bus shows and what its calls do to the window, each as the user's own press.
    void theWindowOnTheBus()
    {
        MainWindow main({u"6000"_s, u"3000"_s, u"1000"_s});
        main.openLyrics("[00:00]first\r\n"_ba);
        QDBusInterface root(kService, kPath, u"org.mpris.MediaPlayer2"_s);
        QDBusInterface player(kService, kPath, kPlayer);
        QVERIFY(QDBusConnection::sessionBus().connect(
            kService, kPath, u"org.freedesktop.DBus.Properties"_s, u"PropertiesChanged"_s, this,
            SLOT(propertiesChanged(QString, QVariantMap, QStringList))));
        QCOMPARE(root.property("DesktopEntry"), u"io.github.corvanta.Corvanta"_s);
        QVERIFY(player.property("CanPause").toBool() && !player.property("CanSeek").toBool());
        QVariantMap metadata = player.property("Metadata").toMap();
        QCOMPARE(metadata[u"xesam:asText"_s], u"[00:00]first"_s);
        QCOMPARE(metadata[u"mpris:length"_s], 6'000'000LL);
        QCOMPARE(metadata[u"xesam:title"_s], u"ﾄﾗｯｸ1"_s);

        player.call(u"Play"_s);
        QVERIFY(main.synchronising());
        QTRY_COMPARE(changes.value(0).value(u"PlaybackStatus"_s), u"Playing"_s);
        QVERIFY(player.property("CanPlay").toBool()); // clients stop only a player that can play
        main.tick(1500);
        QCOMPARE(player.property("Position"), 1'500'000LL);
        changes.clear();
        player.call(u"Next"_s); // plays on with track 2, in one change
        QVERIFY(main.playing());
        QCOMPARE(main.player().position(), 8000);
        QTRY_VERIFY(!changes.isEmpty());
        QCOMPARE(changes.size(), 1);
        QCOMPARE(trackNumber(changes[0][u"Metadata"_s]), 2);
        QVERIFY(!changes[0].contains(u"PlaybackStatus"_s));

        main.answers.inWindow = [&player](QDialog& settings) {
            player.call(u"Pause"_s); // the window takes no input, and neither does the bus
            settings.close();
        };
        main.press(u"設定"_s);
        QVERIFY(main.playing());
        QDBusInterface properties(kService, kPath, u"org.freedesktop.DBus.Properties"_s);
        QCOMPARE(
            properties
                .call(u"Set"_s, kPlayer, u"Volume"_s, QVariant::fromValue(QDBusVariant(u"loud"_s)))
                .errorName(),
            u"org.freedesktop.DBus.Error.InvalidArgs"_s);
        player.setProperty("Volume", 2.0); // taken as 1, and said so
        QTRY_COMPARE(changes.last().value(u"Volume"_s), 1.0);
        main.output.sink().play(3100 * 441 / 10); // into track 3, before the tick ends track 2
        QCOMPARE(player.property("Position"), 3'000'000LL);
        main.window->Timer1_Timer();
        QVERIFY(!main.playing());
        QCOMPARE(player.property("Position"), 0LL);
        player.call(u"Play"_s);
        player.setProperty("Rate", 0.0); // as a pause
        QVERIFY(!main.playing());

        // The disc's CD-TEXT names the album, and the title and performer of a track, as the
        // cue sheet writes them, here in code page 932 (夜のうた, 歌).
        const QString cue = main.fixture.path(u"disc.cue"_s);
        writeFile(cue, "TITLE \"\x96\xe9\x82\xcc\x82\xa4\x82\xbd\"\nPERFORMER \"Band\"\n" +
                           fileBytes(cue).replace("TRACK 02 AUDIO\n", "TRACK 02 AUDIO\n"
                                                                      "TITLE \"\x89\xcc\"\n"
                                                                      "PERFORMER \"Singer\"\n"));
        main.answers.inWindow = [](QDialog& settings) {
            QTest::mouseClick(settings.findChild<QPushButton*>(), Qt::LeftButton);
        };
        main.press(u"設定"_s);
        QTRY_COMPARE(player.property("Metadata").toMap()[u"xesam:album"_s], u"夜のうた"_s);
        metadata = player.property("Metadata").toMap();
        QCOMPARE(metadata[u"xesam:title"_s], u"歌"_s);
        QCOMPARE(metadata[u"xesam:artist"_s], QStringList{u"Singer"_s});
    }

    // Without lyrics a track plays on into the next, and the bus follows what is heard; a
    // choice while stopped is the track the next play starts, at 0.
    void theTrackHeard()
    {
        MainWindow main({u"3000"_s, u"2000"_s, u"2000"_s});
        QDBusInterface player(kService, kPath, kPlayer);
        player.call(u"Next"_s);
        const QVariantMap metadata = player.property("Metadata").toMap();
        QCOMPARE(qdbus_cast<QDBusObjectPath>(metadata[u"mpris:trackid"_s]).path().back(), u'2');
        QCOMPARE(metadata[u"mpris:length"_s], 2'000'000LL);
        QCOMPARE(metadata[u"xesam:title"_s], u"ﾄﾗｯｸ2"_s);
        QCOMPARE(player.property("Position"), 0LL);
        player.call(u"Previous"_s);
        main.play();
        main.output.sink().play(3500 * 441 / 10);
        QTRY_COMPARE(trackNumber(player.property("Metadata")), 2);
        QCOMPARE(player.property("Position"), 500'000LL);
        player.call(u"Next"_s); // after the track heard
        QCOMPARE(main.player().track(), 3);
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
        changes << properties;
    }

private:
    // Read from the property, or from a change.
    static int trackNumber(const QVariant& metadata)
    {
        return qdbus_cast<QVariantMap>(metadata)[u"xesam:trackNumber"_s].toInt();
    }

    QList<QVariantMap> changes;
};

QTEST_MAIN(MprisTest)
#include "tst_mpris.moc"
