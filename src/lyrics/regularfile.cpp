#include "regularfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool openRegularFile(QFile& file, QString& whyNot)
{
    // Not blocking, an open of a pipe returns at once; the file is known before anything is read.
    const int fd =
        ::open(QFile::encodeName(file.fileName()).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        whyNot =
            QStringLiteral("開けません (%1)").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        whyNot = QStringLiteral("ファイルではありません");
    else if (status.st_size > kLargestLyricsFile)
        whyNot = QStringLiteral("大きすぎます (%1 MiB まで)").arg(kLargestLyricsFile >> 20);
    else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0 &&
             file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    else
        whyNot = QStringLiteral("開けません");
    ::close(fd);
    return false;
}
