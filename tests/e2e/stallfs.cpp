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

// Until the caller gives up: a process that ends while its open waits is let go, as a mount
// that allows interrupts lets go of it (a hard network mount would keep it for good).
int neverOpens(const char*, fuse_file_info*)
{
    while (!fuse_interrupted())
        pause();
    return -EINTR;
}

void* init(fuse_conn_info*, fuse_config* config)
{
    config->intr = 1; // an interrupted request's thread is sent a signal, which ends pause()
    return nullptr;
}

} // namespace

int main(int argc, char* argv[])
{
    fuse_operations operations{};
    operations.getattr = &getattr;
    operations.open = &neverOpens;
    operations.init = &init;
    return fuse_main(argc, argv, &operations, nullptr);
}
