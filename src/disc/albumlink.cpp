#include "albumlink.h"

#include "disc.h"
#include "drivetable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr char kFirstLetter = 'd';
constexpr char kLastLetter = 'z';

std::nullopt_t refuse(QString* whyNot, const QString& reason)
{
    if (whyNot)
        *whyNot = reason;
    return std::nullopt;
}

// Where a link points, read from the link alone: its target is never looked at.
QString readLink(const QString& link)
{
    std::array<char, 4096> buffer{};
    const ssize_t length =
        ::readlink(QFile::encodeName(link).constData(), buffer.data(), buffer.size());
    if (length <= 0 || std::size_t(length) >= buffer.size())
        return {};
    const QString target = QFile::decodeName(QByteArray(buffer.data(), length));
    return QDir::cleanPath(QFileInfo(link).dir().absoluteFilePath(target));
}

bool entryExists(const QString& path)
{
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

} // namespace

std::optional<QChar> linkAlbum(const QString& programFolder, const QString& path,
                               const DriveTable& drives, QString* whyNot)
{
    const QFileInfo album(path);
    const QString target = album.canonicalFilePath();
    if (target.isEmpty())
        return refuse(whyNot, u"ありません"_s);
    if (!isDriveTarget(target))
        return refuse(whyNot, u"キューシート、.toc、.nrg、フォルダのどれでもありません"_s);
    QString why;
    if (!Disc::open(target, &why))
        return refuse(whyNot, why.isEmpty() ? u"ディスクとして開けません"_s : why);

    const QDir links(programFolder + u"/drives"_s);
    const auto entry = [&links](char letter) {
        return links.filePath(QString(QChar::fromLatin1(letter)) + u':');
    };
    const QStringList names{target, QDir::cleanPath(album.absoluteFilePath())};
    for (char letter = kFirstLetter; letter <= kLastLetter; ++letter) {
        if (names.contains(readLink(entry(letter))))
            return QChar::fromLatin1(letter).toUpper();
    }
    if (!links.mkpath(u"."_s))
        return refuse(whyNot, u"ドライブのフォルダを作れません: %1"_s.arg(links.path()));
    for (char letter = kFirstLetter; letter <= kLastLetter; ++letter) {
        const QChar upper = QChar::fromLatin1(letter).toUpper();
        // A link made at the same moment by another start takes the letter first.
        if (!entryExists(entry(letter)) && !drives.target(upper) &&
            QFile::link(target, entry(letter)))
            return upper;
    }
    return refuse(whyNot, u"空いているドライブ文字がありません"_s);
}
