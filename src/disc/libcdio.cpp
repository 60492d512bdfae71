#include "libcdio.h"

#include "disclog.h"

namespace {

std::mutex& processLock()
{
    static std::mutex lock;
    return lock;
}

// The call a thread holds, for the handler to hand it what libcdio says.
thread_local LibcdioCall* current = nullptr;

} // namespace

void LibcdioCall::log(cdio_log_level_t level, const char message[])
{
    if (level >= CDIO_LOG_ERROR && current)
        current->lastMessage_ = QString::fromLocal8Bit(message);
    if (level >= CDIO_LOG_INFO)
        qCInfo(discLog, "libcdio: %s", message);
    else
        qCDebug(discLog, "libcdio: %s", message);
}

LibcdioCall::LibcdioCall(Turns turns)
    : lock_(turns == Turns::Taken ? std::unique_lock(processLock())
                                  : std::unique_lock<std::mutex>())
{
    current = this;
    static const bool handled = (cdio_log_set_handler(&LibcdioCall::log), true);
    (void)handled;
}

LibcdioCall::~LibcdioCall()
{
    current = nullptr;
}
