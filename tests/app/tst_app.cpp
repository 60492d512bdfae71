#include "mainwindow.h"
#include "mmcontrol.h"
#include "picturebox.h"
#include "programfolder.h"
#include "readgate.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

// How many times this process has the file open.
int openCount(const QString& path)
{
    const QFileInfoList descriptors =
        QDir(u"/proc/self/fd"_s).entryInfoList(QDir::Files | QDir::System);
    return int(std::ranges::count_if(descriptors, [&](const QFileInfo& descriptor) {
        return descriptor.symLinkTarget() == path;
    }));
}

} // namespace

class AppTest final : public QObject {
    Q_OBJECT

private slots:
    void programFolderIsTheExecutablesOnlyWhenPortable_data();
    void programFolderIsTheExecutablesOnlyWhenPortable();
    void startsWithoutADisc();
    void startsOnTheLowestDrive();
    void backgroundComesWithTheProgramsOwnActivations();
    void nothingWaitsOnTheDisc();
    void keyboardOrder();
    void closingWhilePlayingStopsAndClosesThePlayer();
    void startupReadsTheSettings();
    void openingALyricsFile();
};

void AppTest::programFolderIsTheExecutablesOnlyWhenPortable_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<bool>("portable");
    QTest::newRow("settings file") << u"cv.ini"_s << true;
    QTest::newRow("drives folder") << u"drives/"_s << true;
    QTest::newRow("nothing") << QString() << false;
    QTest::newRow("a file named drives") << u"drives"_s << false;
    QTest::newRow("other files only") << u"corvanta.log"_s << false;
}

void AppTest::programFolderIsTheExecutablesOnlyWhenPortable()
{
    QFETCH(QString, content);
    QFETCH(bool, portable);
    QTemporaryDir executableFolder;
    if (content.endsWith(u'/')) {
        QVERIFY(QDir(executableFolder.path()).mkdir(content.chopped(1)));
    } else if (!content.isEmpty()) {
        QFile file(executableFolder.filePath(content));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QString userFolder = u"/home/someone/.config/corvanta"_s;
    QCOMPARE(programFolder(executableFolder.path(), userFolder),
             portable ? executableFolder.path() : userFolder);
}

void AppTest::startsWithoutADisc()
{
    MainWindow main;
    QCOMPARE(main.window->windowTitle(), u"Corvanta"_s);
    QCOMPARE(main.window->size(), QSize(580, 375));
    QCOMPARE(main.window->minimumSize(), main.window->maximumSize());
    QCOMPARE(main.control<QComboBox>("Combo1")->count(), 0);
    QCOMPARE(main.control<QComboBox>("Combo1")->currentIndex(), -1);
    QVERIFY(!main.control<QTimer>("Timer1")->isActive());
    QCOMPARE(main.player().trackCount(), 0);
}

void AppTest::startsOnTheLowestDrive()
{
    MainWindow main({u"3000"_s, u"2000"_s});
    QCOMPARE(main.player().trackCount(), 2);
    QCOMPARE(main.player().position(), 2000); // and in milliseconds
    QVERIFY(!main.control<QTimer>("Timer1")->isActive());
}

// The view takes the background when the window is first shown and when the settings window
// closes, and only then: the window manager activating the window again, after a dialog or
// another program's window, leaves the lyrics shown.
void AppTest::backgroundComesWithTheProgramsOwnActivations()
{
    MainWindow main({u"3000"_s});
    main.colors.BackgroundColor = 0x0000FF;
    main.window->show();
    QCOMPARE(main.viewColor(), QColor(Qt::red));

    main.openLyrics("[00:01]one\r\n"_ba);
    const QList<PictureBox::Row> rows = main.view().rows();
    QCOMPARE(rows.size(), PictureBox::kRows);
    QWidget otherProgram;
    otherProgram.show();
    otherProgram.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&otherProgram));
    main.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main.window.get()));
    QCOMPARE(main.view().rows(), rows);

    main.colors.BackgroundColor = 0xFF0000;
    whenShown<QDialog>([](QDialog* settings) { settings->close(); });
    QTest::mouseClick(main.control<QPushButton>("Command3"), Qt::LeftButton);
    QCOMPARE(main.viewColor(), QColor(Qt::blue));
    QVERIFY(main.view().rows().isEmpty());
}

// A read of the disc that takes its time never holds up the window: stopping, choosing a track,
// the settings window's OK and closing the window all return while the read waits.
void AppTest::nothingWaitsOnTheDisc()
{
    ReadGate gate;
    MainWindow main({u"20000"_s, u"3000"_s}, {}, gate.reads());
    main.play();
    QTRY_COMPARE(gate.held(), 1);
    main.stop();
    QVERIFY(!main.player().isPlaying());
    main.play(); // its reader waits its turn at the disc
    QTRY_COMPARE(gate.held(), 2);
    main.choose(1);
    QVERIFY(!main.player().isPlaying());
    QCOMPARE(main.player().trackStart(), 22000);
    whenShown<QDialog>([](QDialog* settings) {
        QTest::mouseClick(settings->findChild<QPushButton*>(), Qt::LeftButton);
    });
    QTest::mouseClick(main.control<QPushButton>("Command3"), Qt::LeftButton);
    QCOMPARE(main.player().trackCount(), 2); // reopened on D:
    QVERIFY(main.window->close());
    QCOMPARE(main.player().trackCount(), 0);
    QCOMPARE(gate.held(), 2);
    const QString image = QFileInfo(main.fixture.path(u"disc.bin"_s)).canonicalFilePath();
    QCOMPARE(openCount(image), 1); // the disc the held reads hold

    // Once the reads return, the disc they held is shut.
    gate.open();
    QTRY_COMPARE(openCount(image), 0);
}

void AppTest::keyboardOrder()
{
    MainWindow main({u"3000"_s});
    main.window->show();
    main.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main.window.get()));
    QCOMPARE(QApplication::focusWidget()->objectName(), u"Picture1"_s);

    QStringList order;
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QWidget* focus = QApplication::focusWidget();
        order << (focus->objectName().isEmpty()
                      ? focus->parentWidget()->objectName() + u'.' + focus->accessibleName()
                      : focus->objectName());
    }
    // The stop button is skipped while it is disabled.
    QCOMPARE(order, (QStringList{u"Combo1"_s, u"MMControl1.再生"_s, u"Command1"_s, u"Command2"_s,
                                 u"Command3"_s, u"Picture1"_s}));
}

void AppTest::closingWhilePlayingStopsAndClosesThePlayer()
{
    MainWindow main({u"3000"_s});
    main.window->show();
    main.play();
    QVERIFY(main.player().isPlaying());
    QVERIFY(main.window->close());
    QVERIFY(!main.player().isPlaying());
    QCOMPARE(main.player().trackCount(), 0);
}

void AppTest::startupReadsTheSettings()
{
    MainWindow main({}, " 255 \r\n 65280 \r\n 16711680 \r\n"_ba);
    QCOMPARE(main.colors.TextColor, 255);
    QCOMPARE(main.colors.CurrentLineColor, 65280);
    main.window->show();
    main.window->activateWindow();
    QTRY_COMPARE(main.viewColor(), QColor(Qt::blue));

    MainWindow garbage({}, "\xff\xfe\0garbage"_ba);
    QCOMPARE(garbage.colors.CurrentLineColor, 33023);
}

// Qt's own file dialog, answered as a user would.
void AppTest::openingALyricsFile()
{
    MainWindow main({u"9000"_s}, " 65280 \r\n 255 \r\n 0 \r\n"_ba);
    const QString song = main.fixture.path(u"song.txt"_s);
    writeFile(song, "\x89\xcc\r\n[00:01]\x88\xea\r\n[00:02]\x93\xf1\r\n"_ba);
    writeFile(main.fixture.path(u"NOTES.TXT"_s), "upper case");
    writeFile(main.fixture.path(u"notes.dat"_s), "not lyrics");
    main.play();
    const QToolButton* play = main.player().findChild<QToolButton*>();

    whenShown<QFileDialog>([&](QFileDialog* dialog) {
        // Whatever the checks find, the dialog must close, or the test would wait for ever.
        const auto closeAnyway = qScopeGuard([dialog] { dialog->close(); });
        QCOMPARE(dialog->nameFilters(), QStringList{u"*.txt (歌詞ﾃｷｽﾄ) (*.TXT)"_s});
        QVERIFY(!play->isEnabled()); // the loading flag is down while the dialog is open
        dialog->setDirectory(main.fixture.programFolder());
        auto* model = dialog->findChild<QFileSystemModel*>();
        const QModelIndex folder = model->index(main.fixture.programFolder());
        QStringList offered;
        QTRY_VERIFY((offered =
                         [&] {
                             QStringList names;
                             for (int row = 0; row < model->rowCount(folder); ++row) {
                                 const QModelIndex file = model->index(row, 0, folder);
                                 if (model->flags(file) & Qt::ItemIsEnabled && !model->isDir(file))
                                     names << model->fileName(file);
                             }
                             return names;
                         }())
                        .size() >= 2);
        offered.sort();
        QCOMPARE(offered, (QStringList{u"NOTES.TXT"_s, u"song.txt"_s}));
        auto* name = dialog->findChild<QLineEdit*>(u"fileNameEdit"_s);
        QTest::keyClicks(name, u"song.txt"_s);
        QTest::keyClick(name, Qt::Key_Return);
    });
    QTest::mouseClick(main.control<QPushButton>("Command2"), Qt::LeftButton);
    QVERIFY(!main.player().isPlaying()); // stopped once a file was chosen
    QVERIFY(play->isEnabled());
    const QList<PictureBox::Row> rows = main.view().rows();
    QCOMPARE(rows.size(), PictureBox::kRows);
    QCOMPARE(rows[6], (PictureBox::Row{u"歌"_s, Qt::green}));
    QCOMPARE(rows[7], (PictureBox::Row{u"       一"_s, Qt::green})); // the first tagged line
    QCOMPARE(rows[8], (PictureBox::Row{u"       二"_s, Qt::green}));

    // Cancelling changes nothing.
    bool asked = false;
    whenShown<QFileDialog>([&asked](QFileDialog* dialog) {
        asked = true;
        dialog->close();
    });
    QTest::mouseClick(main.control<QPushButton>("Command2"), Qt::LeftButton);
    QVERIFY(asked);
    QCOMPARE(main.view().rows(), rows);
    QVERIFY(play->isEnabled());
}

int runAppTests(int argc, char* argv[])
{
    AppTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_app.moc"
