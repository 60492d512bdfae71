#include "readonlyfolder.h"

#include <QDir>
#include <QFile>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// Lowers or raises CAP_DAC_OVERRIDE in the calling thread's effective set. False when the thread
// is not permitted to hold it (anyone but root) or the kernel refuses.
bool setPermissionOverride(bool on)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0}; // pid 0: this thread
    __user_cap_data_struct sets[_LINUX_CAPABILITY_U32S_3]{};
    if (::syscall(SYS_capget, &header, sets) != 0)
        return false;
    __user_cap_data_struct& set = sets[CAP_TO_INDEX(CAP_DAC_OVERRIDE)];
    const __u32 bit = CAP_TO_MASK(CAP_DAC_OVERRIDE);
    if ((set.permitted & bit) == 0)
        return false;
    set.effective = on ? set.effective | bit : set.effective & ~bit;
    return ::syscall(SYS_capset, &header, sets) == 0;
}

bool canMakeAFileIn(const QString& folder)
{
    QFile probe(QDir(folder).filePath(QStringLiteral(".write-probe")));
    if (!probe.open(QIODevice::WriteOnly))
        return false;
    probe.remove();
    return true;
}

} // namespace

ReadOnlyFolder::ReadOnlyFolder(QString path)
    : path_(std::move(path)), before_(QFile::permissions(path_))
{
    QFile::setPermissions(path_, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                     QFileDevice::ReadGroup | QFileDevice::ExeGroup |
                                     QFileDevice::ReadOther | QFileDevice::ExeOther);
    overrideLaidDown_ = setPermissionOverride(false);
    holds_ = !canMakeAFileIn(path_);
}

ReadOnlyFolder::~ReadOnlyFolder()
{
    if (overrideLaidDown_)
        setPermissionOverride(true);
    QFile::setPermissions(path_, before_);
}
