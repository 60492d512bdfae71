#include "discfixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>

DiscFixture::DiscFixture()
{
    QDir(folder_.path()).mkdir(QStringLiteral("drives"));
}

QString DiscFixture::makeDisc(const QString& name, const QStringList& lengths, int firstTrack,
                              const QStringList& options)
{
    const QString cue = path(name + QStringLiteral(".cue"));
    QProcess mkdisc;
    mkdisc.start(QStringLiteral(MKDISC_PATH), options + QStringList{cue} + lengths);
    if (!mkdisc.waitForFinished() || mkdisc.exitCode() != 0)
        qFatal("mkdisc failed: %s", mkdisc.readAllStandardError().constData());
    QByteArray sheet = fileBytes(cue);
    for (qsizetype track = lengths.size(); firstTrack != 1 && track >= 1; --track)
        sheet.replace(QStringLiteral("TRACK %1").arg(track, 2, 10, QLatin1Char('0')).toLatin1(),
                      QStringLiteral("TRACK %1")
                          .arg(track + firstTrack - 1, 2, 10, QLatin1Char('0'))
                          .toLatin1());
    writeFile(cue, sheet);
    return cue;
}

void DiscFixture::mapDrive(char letter, const QString& target)
{
    const QString link = path(QStringLiteral("drives/%1:").arg(QLatin1Char(letter)));
    QFile::remove(link);
    if (!QFile::link(target, link))
        qFatal("cannot link %s", qPrintable(link));
}

QByteArray fileBytes(const QString& path, qint64 offset, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(offset))
        return {};
    return size < 0 ? file.readAll() : file.read(size);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}
