#include "answers.h"
#include "color.h"
#include "colors.h"
#include "colorswatch.h"
#include "discfixture.h"
#include "form2.h"
#include "manualaudiosink.h"
#include "mmcontrol.h"
#include "settingsfile.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Colour = std::optional<qint32>;
constexpr qint32 kButtonFace = -2147483633;

auto asTuple(const Colors& colors)
{
    return std::tuple(colors.TextColor, colors.CurrentLineColor, colors.BackgroundColor);
}

} // namespace

class SettingsTest final : public QObject {
    Q_OBJECT

private slots:
    void colorValues()
    {
        QPalette palette;
        palette.setColor(QPalette::Button, QColor(0x11, 0x22, 0x33));
        // Unset, red in the low byte, the high byte of RGB ignored, &H8000000F the button face
        // the palette fills, a system colour past the last one.
        // clang-format off
        const std::pair<Colour, QColor> cases[] = {
            {{}, Qt::black}, {33023, QColor(255, 128, 0)}, {0x7F0000FF, Qt::red},
            {kButtonFace, QColor(0x11, 0x22, 0x33)}, {qint32(0x80000020), Qt::black}};
        // clang-format on
        for (const auto& [value, expected] : cases)
            QCOMPARE(toQColor(value, palette), expected);
    }

    void loadsTheSettingsFile_data()
    {
        QTest::addColumn<QByteArray>("file"); // null: none
        QTest::addColumn<Colors>("loaded");
        const Colors defaults{{}, 33023, kButtonFace};
        QTest::newRow("no file") << QByteArray() << defaults;
        QTest::newRow("as saved") << " 255 \r\n 65280 \r\n-2147483643 \r\n"_ba
                                  << Colors{255, 65280, -2147483643};
        // A short file resets the second value even though it was read.
        QTest::newRow("two values") << "1\r\n2\r\n"_ba << Colors{1, 33023, kButtonFace};
        QTest::newRow("four values, commas, LF") << " 7 , 8\n9\n4"_ba << Colors{7, 8, 9};
        QTest::newRow("garbage and numbers beyond 32 bits take the default")
            << "blue\r\n4294967296\r\n\x1a\0"_ba << Colors{0, 33023, kButtonFace};
    }

    void loadsTheSettingsFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(Colors, loaded);
        DiscFixture folder;
        if (!file.isNull())
            writeFile(folder.path(u"cv.ini"_s), file);
        Colors colors;
        LoadSettings(colors, folder.programFolder());
        QVERIFY(asTuple(colors) == asTuple(loaded));
    }

    // The file is written whole beside the old one, which a reader that has it open still reads
    // whole. A program folder that cannot hold it fails the save and changes nothing.
    void savesByReplacingTheFile()
    {
        DiscFixture folder;
        const QString programFolder = folder.path(u"not/yet/there"_s);
        QVERIFY(SaveSettings({0, 33023, kButtonFace}, programFolder));
        QFile old(programFolder + u"/cv.ini"_s);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QVERIFY(SaveSettings({255, 65280, -2147483643}, programFolder));
        QCOMPARE(old.readAll(), " 0 \r\n 33023 \r\n-2147483633 \r\n"_ba);
        Colors loaded;
        LoadSettings(loaded, programFolder);
        QVERIFY(asTuple(loaded) == asTuple(Colors{255, 65280, -2147483643}));

        QVERIFY(QDir(folder.programFolder()).mkpath(u"taken/cv.ini"_s));
        QVERIFY(!SaveSettings(loaded, folder.path(u"taken"_s)));
        QVERIFY(QFileInfo(folder.path(u"taken/cv.ini"_s)).isDir());
    }

    void settingsWindow_data()
    {
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("OK") << true;
        QTest::newRow("the close box") << false;
    }

    // Drives D: and F: are images, an optical drive takes E:, and G: is a folder of tracks; H:,
    // mapped after the last open, shows once the window has listed the drives afresh. The
    // swatches show the colours in use; a cancelled colour dialog leaves its swatch. Only OK
    // applies: colours, player and file.
    void settingsWindow()
    {
        QFETCH(bool, confirmed);
        DiscFixture fixture;
        ManualOutput output;
        PlayerDevices devices = output.devices();
        fixture.mapDrive('f', fixture.makeDisc(u"two"_s, {u"1000"_s, u"1000"_s}));
        fixture.mapDrive('d', fixture.makeDisc(u"one"_s, {u"1000"_s}));
        fixture.makeDisc(u"rip/a"_s, {u"1000"_s}, 1, {u"--format"_s, u"wav"_s});
        fixture.mapDrive('g', fixture.path(u"rip"_s));
        devices.opticalDrives = [] { return QStringList{u"/dev/no-disc"_s}; };
        MMControl player(fixture.programFolder(), devices);
        player.setCommand(u"open"_s);
        QTRY_COMPARE(player.trackCount(), 1); // the optical drives are those the open found
        fixture.mapDrive('h', fixture.makeDisc(u"three"_s, {u"1000"_s})); // seen once listed again
        Colors colors{{}, 2, 3};
        Answers answers;
        answers.colors = {QColor(Qt::red), std::nullopt};
        Form2 settings(colors, fixture.programFolder(), player, answers, nullptr);

        const QList<ColorSwatch*> swatches = settings.findChildren<ColorSwatch*>();
        auto* drives = settings.findChild<QComboBox*>();
        QTRY_COMPARE(drives->count(), 5);
        QCOMPARE(drives->itemText(0), u"D:"_s);
        QCOMPARE(drives->itemText(1), u"E:"_s);
        QCOMPARE(drives->currentIndex(), 0);
        QCOMPARE(swatches[0]->value(), 0); // unset shows black
        QTest::mouseClick(swatches[0], Qt::LeftButton);
        QTest::mouseClick(swatches[1], Qt::LeftButton);
        QCOMPARE(swatches[0]->value(), 0x0000FF);
        QCOMPARE(swatches[1]->value(), 2);
        drives->setCurrentIndex(2);
        if (confirmed)
            QTest::mouseClick(settings.findChild<QPushButton*>(), Qt::LeftButton);
        else
            settings.close();

        QCOMPARE(settings.result(), confirmed ? QDialog::Accepted : QDialog::Rejected);
        QCOMPARE(colors.TextColor, confirmed ? Colour(0x0000FF) : Colour());
        QTRY_COMPARE(player.trackCount(), confirmed ? 2 : 1);
        QCOMPARE(fileBytes(fixture.path(u"cv.ini"_s)),
                 confirmed ? " 255 \r\n 2 \r\n 3 \r\n"_ba : QByteArray());
    }
};

QTEST_MAIN(SettingsTest)
#include "tst_settings.moc"
