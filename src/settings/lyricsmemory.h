#pragma once

#include <QList>
#include <QString>
#include <map>

// Where lyrics were opened, kept beside cv.ini in lyricsfiles.json: the folder of the file
// opened last, and for each disc, known by its disc ID, the file opened last for each of its
// tracks. Discs used longest ago are forgotten once there are kMostDiscs.
class LyricsMemory {
public:
    static constexpr int kMostDiscs = 2000;

    // What the program folder's file holds. A file that is missing, unreadable, larger than any
    // this writes, or not this program's is nothing remembered, and is replaced at the next save.
    static LyricsMemory load(const QString& programFolder);

    QString lastFolder() const { return folder_; }
    // The file opened last for a disc's track; empty when there is none.
    QString fileOf(const QString& discId, int track) const;
    // A file just opened, for the chosen track of the disc, when it has an ID.
    void remember(const QString& path, const QString& discId, int track);
    // Written whole, replacing the file at once, as cv.ini is; false when it could not be.
    bool save(const QString& programFolder) const;

private:
    struct Disc {
        QString id;
        std::map<int, QString> files; // by track number
    };
    void forgetOldest();

    QString folder_;
    QList<Disc> discs_; // the disc used last, last
};
