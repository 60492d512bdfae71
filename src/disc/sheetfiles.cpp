#include "sheetfiles.h"

#include "disclog.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

bool isAudioSuffix(const QString& suffix)
{
    static const QStringList audio{u"wav"_s, u"wave"_s, u"flac"_s, u"aif"_s, u"aiff"_s, u"aifc"_s,
                                   u"ogg"_s, u"oga"_s,  u"opus"_s, u"mp3"_s, u"w64"_s,  u"caf"_s};
    return audio.contains(suffix, Qt::CaseInsensitive);
}

// What the folder holds that a sheet could name: files, and pipes and devices, which the opener
// then refuses with a reason of their own.
QStringList entriesOf(const QDir& folder)
{
    return folder.entryList(QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
}

// The one entry `matches` takes; empty when none does, and when several do, with `whyNot`.
template <typename Match>
QString onlyMatch(const QStringList& entries, Match matches, const QString& what, QString* whyNot)
{
    QStringList found;
    for (const QString& entry : entries) {
        if (matches(entry))
            found << entry;
    }
    if (found.size() > 1 && whyNot)
        *whyNot = u"%1が複数あります (%2)"_s.arg(what, found.join(u", "_s));
    return found.size() == 1 ? found.first() : QString();
}

} // namespace

QString findSheetFile(const QString& folder, const QString& named, bool isAudio, QString* whyNot)
{
    const QDir dir(folder);
    if (QFileInfo::exists(dir.filePath(named)))
        return dir.filePath(named);
    QString name = named;
    if (named.contains(u'\\')) {
        name = named.section(u'\\', -1);
        qCInfo(discLog) << "the sheet names a Windows path:" << named << "; looking for" << name;
        if (QFileInfo::exists(dir.filePath(name)))
            return dir.filePath(name);
    }
    QString ambiguity;
    const QStringList entries = entriesOf(dir);
    QString found = onlyMatch(
        entries,
        [&name](const QString& entry) { return entry.compare(name, Qt::CaseInsensitive) == 0; },
        u"大文字と小文字だけが違うファイル"_s, &ambiguity);
    if (!found.isEmpty()) {
        qCInfo(discLog) << "the sheet names" << name << "; found" << found << "regardless of case";
        return dir.filePath(found);
    }
    const QFileInfo asNamed(name);
    if (isAudio && ambiguity.isEmpty()) {
        found = onlyMatch(
            entries,
            [&asNamed](const QString& entry) {
                const QFileInfo info(entry);
                return info.completeBaseName().compare(asNamed.completeBaseName(),
                                                       Qt::CaseInsensitive) == 0 &&
                       isAudioSuffix(info.suffix());
            },
            u"同じ名前の音声ファイル"_s, &ambiguity);
        if (!found.isEmpty()) {
            qCInfo(discLog) << "the sheet names" << name << "; found" << found
                            << "with another audio extension";
            return dir.filePath(found);
        }
    }
    if (whyNot)
        *whyNot = ambiguity.isEmpty() ? u"ありません"_s : ambiguity;
    return {};
}
