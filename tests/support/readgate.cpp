#include "readgate.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

struct ReadGate::State {
    std::mutex lock;
    std::condition_variable opened;
    bool isOpen = false;
    int held = 0;
};

ReadGate::ReadGate() : state_(std::make_shared<State>()) {}

SectorRead ReadGate::reads() const
{
    return [state = state_](Disc& disc, int firstSector, int count, std::byte* out) {
        {
            std::unique_lock lock(state->lock);
            ++state->held;
            state->opened.wait_for(lock, std::chrono::seconds(10), [&] { return state->isOpen; });
            --state->held;
        }
        return disc.readAudio(firstSector, count, out);
    };
}

int ReadGate::held() const
{
    const std::lock_guard lock(state_->lock);
    return state_->held;
}

void ReadGate::open()
{
    const std::lock_guard lock(state_->lock);
    state_->isOpen = true;
    state_->opened.notify_all();
}
