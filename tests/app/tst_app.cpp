#include "programfolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class AppTest final : public QObject {
    Q_OBJECT

private slots:
    void programFolderIsTheExecutablesOnlyWhenPortable_data();
    void programFolderIsTheExecutablesOnlyWhenPortable();
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

QTEST_GUILESS_MAIN(AppTest)
#include "tst_app.moc"
