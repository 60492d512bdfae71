// stallfs MOUNTPOINT: a file system whose one file, disc.toc, is there but never opens: opening
// it waits until the file system goes away, as a drive spinning up or a file on a stalled network
// mount does. The soak's hung drive.

#define FUSE_USE_VERSION 31
#include <cerrno>
#include <cstring>
#include <fuse.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int getattr(const char* path, struct stat* status, fuse_file_info*)
{
    std::memset(status, 0, sizeof *status);
    if (std::strcmp(path, "/") == 0) {
        status->st_mode = S_IFDIR | 0755;
        status->st_nlink = 2;
        return 0;
    }
    if (std::strcmp(path, "/disc.toc") != 0)
        return -ENOENT;
    status->st_mode = S_IFREG | 0644;
    status->st_nlink = 1;
    status->st_size = 4096;
    return 0;
}

int neverOpens(const char*, fuse_file_info*)
{
    for (;;)
        pause();
}

} // namespace

int main(int argc, char* argv[])
{
    fuse_operations operations{};
    operations.getattr = &getattr;
    operations.open = &neverOpens;
    return fuse_main(argc, argv, &operations, nullptr);
}
