#include "lyricsmemory.h"

#include "settingslog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Two thousand discs of twenty tracks under long paths stay well inside this.
constexpr qint64 kLargestFile = 16 << 20;
const QString kFormat = u"corvanta lyrics files 1"_s;

QString memoryPath(const QString& programFolder)
{
    return QDir(programFolder).filePath(u"lyricsfiles.json"_s);
}

} // namespace

LyricsMemory LyricsMemory::load(const QString& programFolder)
{
    LyricsMemory memory;
    QFile file(memoryPath(programFolder));
    if (!QFileInfo(file).isFile() || file.size() > kLargestFile || !file.open(QIODevice::ReadOnly))
        return memory;
    const QJsonObject root = QJsonDocument::fromJson(file.read(kLargestFile)).object();
    if (root.value(u"format"_s).toString() != kFormat)
        return memory;
    memory.folder_ = root.value(u"folder"_s).toString();
    for (const QJsonValue& entry : root.value(u"discs"_s).toArray()) {
        Disc disc{entry[u"id"_s].toString(), {}};
        const QJsonObject tracks = entry[u"tracks"_s].toObject();
        for (auto track = tracks.begin(); track != tracks.end(); ++track) {
            bool number = false;
            const int n = track.key().toInt(&number);
            if (number && n >= 1 && n <= 99 && track->isString())
                disc.files[n] = track->toString();
        }
        if (!disc.id.isEmpty() && !disc.files.empty())
            memory.discs_ << disc;
    }
    memory.forgetOldest();
    return memory;
}

QString LyricsMemory::fileOf(const QString& discId, int track) const
{
    for (const Disc& disc : discs_) {
        if (disc.id == discId) {
            const auto file = disc.files.find(track);
            return file == disc.files.end() ? QString() : file->second;
        }
    }
    return {};
}

void LyricsMemory::remember(const QString& path, const QString& discId, int track)
{
    folder_ = QFileInfo(path).absolutePath();
    if (discId.isEmpty())
        return;
    Disc disc{discId, {}};
    const auto known = std::find_if(discs_.begin(), discs_.end(),
                                    [&discId](const Disc& other) { return other.id == discId; });
    if (known != discs_.end()) {
        disc = *known;
        discs_.erase(known);
    }
    disc.files[track] = QFileInfo(path).absoluteFilePath();
    discs_ << disc;
    forgetOldest();
}

void LyricsMemory::forgetOldest()
{
    if (discs_.size() > kMostDiscs)
        discs_.remove(0, discs_.size() - kMostDiscs);
}

bool LyricsMemory::save(const QString& programFolder) const
{
    QJsonArray discs;
    for (const Disc& disc : discs_) {
        QJsonObject tracks;
        for (const auto& [track, file] : disc.files)
            tracks.insert(QString::number(track), file);
        discs.append(QJsonObject{{u"id"_s, disc.id}, {u"tracks"_s, tracks}});
    }
    const QJsonObject root{{u"format"_s, kFormat}, {u"folder"_s, folder_}, {u"discs"_s, discs}};
    QSaveFile file(memoryPath(programFolder));
    if (QDir().mkpath(programFolder) && file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(root).toJson(QJsonDocument::Compact));
        if (file.commit())
            return true;
    }
    qCInfo(settingsLog) << "where lyrics were opened is not saved in" << file.fileName()
                        << file.errorString();
    return false;
}
