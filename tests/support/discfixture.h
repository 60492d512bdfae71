#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A temporary program folder with disc images written by mkdisc and drive letters mapped to
// whatever a test likes.
class DiscFixture {
public:
    DiscFixture();

    QString programFolder() const { return folder_.path(); }
    // Writes `name`.cue and `name`.bin with one track per length (ms; "4000d" for a data
    // track), numbered from `firstTrack`, and returns the path of the .cue. With mkdisc's rip
    // `options` the sheet is over audio files instead.
    QString makeDisc(const QString& name, const QStringList& lengths, int firstTrack = 1,
                     const QStringList& options = {});
    // Points drives/`letter`: at `target`, replacing an earlier link.
    void mapDrive(char letter, const QString& target);
    QString path(const QString& name) const { return folder_.filePath(name); }

private:
    QTemporaryDir folder_;
};

// Bytes [offset, offset + size) of a file; none when it cannot be read.
QByteArray fileBytes(const QString& path, qint64 offset = 0, qint64 size = -1);
// Writes a whole file, or ends the test program.
void writeFile(const QString& path, const QByteArray& bytes);
