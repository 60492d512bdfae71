#include "color.h"
#include "colors.h"
#include "discfixture.h"
#include "readonlyfolder.h"
#include "settingsfile.h"
#include "twocolorsets.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <tuple>

using namespace Qt::StringLiterals;

namespace {

constexpr qint32 kButtonFace = -2147483633;

auto asTuple(const Colors& colors)
{
    return std::tuple(colors.TextColor, colors.CurrentLineColor, colors.BackgroundColor);
}

QByteArray savedBytes(const Colors& colors)
{
    QTemporaryDir folder;
    if (!SaveSettings(colors, folder.path()))
        qFatal("cannot save the settings");
    return fileBytes(folder.filePath(u"cv.ini"_s));
}

} // namespace

class SettingsTest final : public QObject {
    Q_OBJECT

private slots:
    void colorValues();
    void loadsTheSettingsFile_data();
    void loadsTheSettingsFile();
    void savesExactlyThreeLines();
    void savingWhereNothingCanBeWrittenFailsHarmlessly_data();
    void savingWhereNothingCanBeWrittenFailsHarmlessly();
    void killedSavesLeaveAWholeFile();
};

void SettingsTest::colorValues()
{
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(0x11, 0x22, 0x33));
    palette.setColor(QPalette::Base, QColor(0x44, 0x55, 0x66));
    palette.setColor(QPalette::Highlight, QColor(0xAA, 0xBB, 0xCC));
    const std::pair<std::optional<qint32>, QColor> cases[] = {
        {{}, Qt::black},                                // unset
        {0x0000FF, QColor(255, 0, 0)},                  // red sits in the low byte
        {33023, QColor(255, 128, 0)},                   // the default current line: orange
        {0x7F0000FF, QColor(255, 0, 0)},                // the high byte of RGB is ignored
        {-2147483633, QColor(0x11, 0x22, 0x33)},        // &H8000000F, the button face
        {qint32(0x80000005), QColor(0x44, 0x55, 0x66)}, // window: the base
        {qint32(0x8000000D), QColor(0xAA, 0xBB, 0xCC)}, // highlight
        {qint32(0x80000002), QColor(0x99, 0xB4, 0xD1)}, // no role: the classic caption blue
        {qint32(0x80000020), Qt::black},                // no such system colour
    };
    for (const auto& [value, expected] : cases)
        QCOMPARE(toQColor(value, palette), expected);
}

void SettingsTest::loadsTheSettingsFile_data()
{
    using Colour = std::optional<qint32>;
    QTest::addColumn<std::optional<QByteArray>>("file");
    QTest::addColumn<Colour>("text");
    QTest::addColumn<Colour>("currentLine");
    QTest::addColumn<Colour>("background");
    const Colour unset;
    QTest::newRow("no file") << std::optional<QByteArray>() << unset << Colour(33023)
                             << Colour(kButtonFace);
    QTest::newRow("empty") << std::optional(QByteArray()) << unset << Colour(33023)
                           << Colour(kButtonFace);
    QTest::newRow("as saved") << std::optional(" 255 \r\n 65280 \r\n-2147483643 \r\n"_ba)
                              << Colour(255) << Colour(65280) << Colour(-2147483643);
    QTest::newRow("one value") << std::optional("123\r\n"_ba) << Colour(123) << Colour(33023)
                               << Colour(kButtonFace);
    // A short file resets the second value even though it was read.
    QTest::newRow("two values") << std::optional("1\r\n2\r\n"_ba) << Colour(1) << Colour(33023)
                                << Colour(kButtonFace);
    QTest::newRow("four values") << std::optional("1\r\n2\r\n3\r\n4\r\n"_ba) << Colour(1)
                                 << Colour(2) << Colour(3);
    QTest::newRow("commas on one line")
        << std::optional(" 7 , 8,9"_ba) << Colour(7) << Colour(8) << Colour(9);
    QTest::newRow("LF line ends") << std::optional("1\n2\n3"_ba) << Colour(1) << Colour(2)
                                  << Colour(3);
    QTest::newRow("garbage takes the default") << std::optional("blue\r\n&H8000000F\r\n1e3\r\n"_ba)
                                               << Colour(0) << Colour(33023) << Colour(kButtonFace);
    QTest::newRow("beyond 32 bits") << std::optional("4294967296\r\n-2147483649\r\n5\r\n"_ba)
                                    << Colour(0) << Colour(33023) << Colour(5);
    QTest::newRow("binary") << std::optional(QByteArray("\0\xff\x81\r\n\x1a", 6)) << Colour(0)
                            << Colour(33023) << Colour(kButtonFace);
}

void SettingsTest::loadsTheSettingsFile()
{
    QFETCH(std::optional<QByteArray>, file);
    QFETCH(std::optional<qint32>, text);
    QFETCH(std::optional<qint32>, currentLine);
    QFETCH(std::optional<qint32>, background);
    QTemporaryDir folder;
    if (file)
        writeFile(folder.filePath(u"cv.ini"_s), *file);
    Colors colors;
    LoadSettings(colors, folder.path());
    QCOMPARE(colors.TextColor, text);
    QCOMPARE(colors.CurrentLineColor, currentLine);
    QCOMPARE(colors.BackgroundColor, background);
}

void SettingsTest::savesExactlyThreeLines()
{
    QTemporaryDir folder;
    const QString programFolder = folder.filePath(u"not/yet/there"_s);
    Colors colors;
    LoadSettings(colors, programFolder);
    colors.TextColor = 0;
    QVERIFY(SaveSettings(colors, programFolder));
    QCOMPARE(fileBytes(programFolder + u"/cv.ini"_s), " 0 \r\n 33023 \r\n-2147483633 \r\n"_ba);

    Colors loaded;
    LoadSettings(loaded, programFolder);
    QCOMPARE(loaded.TextColor, colors.TextColor);
    QCOMPARE(loaded.CurrentLineColor, colors.CurrentLineColor);
    QCOMPARE(loaded.BackgroundColor, colors.BackgroundColor);
}

void SettingsTest::savingWhereNothingCanBeWrittenFailsHarmlessly_data()
{
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<Colors>("read");
    const Colors defaults{{}, 33023, kButtonFace};
    QTest::newRow("read-only folder") << u"locked"_s << kColorsA;
    QTest::newRow("under a plain file") << u"plain/corvanta"_s << defaults;
    QTest::newRow("cv.ini is a folder") << u"taken"_s << defaults;
}

// The colours are read as ever, the save fails, and whatever stood there before still does.
void SettingsTest::savingWhereNothingCanBeWrittenFailsHarmlessly()
{
    QFETCH(QString, programFolder);
    QFETCH(Colors, read);
    QTemporaryDir folder;
    writeFile(folder.filePath(u"plain"_s), "a file, not a folder");
    QVERIFY(QDir(folder.path()).mkpath(u"taken/cv.ini"_s));
    QVERIFY(QDir(folder.path()).mkdir(u"locked"_s));
    writeFile(folder.filePath(u"locked/cv.ini"_s), savedBytes(kColorsA));
    const ReadOnlyFolder locked(folder.filePath(u"locked"_s));
    if (!locked.holds())
        QSKIP("this process writes into read-only folders");
    programFolder = folder.filePath(programFolder);
    const QString file = programFolder + u"/cv.ini"_s;
    const QByteArray before = fileBytes(file);
    const bool wasFolder = QFileInfo(file).isDir();

    Colors colors;
    LoadSettings(colors, programFolder);
    QVERIFY(asTuple(colors) == asTuple(read));
    QVERIFY(!SaveSettings(kColorsB, programFolder));
    QCOMPARE(fileBytes(file), before);
    QCOMPARE(QFileInfo(file).isDir(), wasFolder);
    LoadSettings(colors, programFolder);
    QVERIFY(asTuple(colors) == asTuple(read));
}

// A save killed at any moment leaves the file whole: the colours before it or after it, never a
// mix and never nothing, both for a program reading it meanwhile and afterwards. A seeded
// generator picks the moments; any moment must do.
void SettingsTest::killedSavesLeaveAWholeFile()
{
    const QByteArray a = savedBytes(kColorsA);
    const QByteArray b = savedBytes(kColorsB);
    QTemporaryDir folder;
    const auto loadsAOrB = [&folder] {
        Colors loaded;
        LoadSettings(loaded, folder.path());
        return asTuple(loaded) == asTuple(kColorsA) || asTuple(loaded) == asTuple(kColorsB);
    };
    QRandomGenerator moments(1000);
    for (qsizetype saves = 0; saves < 1000;) {
        QProcess saver;
        saver.start(QStringLiteral(SETTINGS_SAVER), {folder.path()});
        QVERIFY(saver.waitForReadyRead(10'000)); // one save at least, so there is a file
        // The reads until the kill are the random delay.
        for (int reads = moments.bounded(2000); reads > 0; --reads)
            QVERIFY(loadsAOrB());
        saver.kill();
        QVERIFY(saver.waitForFinished(10'000));
        saves += saver.readAllStandardOutput().count('.');

        const QByteArray file = fileBytes(folder.filePath(u"cv.ini"_s));
        QVERIFY2(file == a || file == b, file.constData());
        QVERIFY(loadsAOrB());
    }

    // Whatever the killed saves left behind is in the way of no later save.
    QVERIFY(SaveSettings(kColorsA, folder.path()));
    QCOMPARE(fileBytes(folder.filePath(u"cv.ini"_s)), a);
}

int runSettingsTests(int argc, char* argv[])
{
    SettingsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_settings.moc"
