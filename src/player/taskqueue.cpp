#include "taskqueue.h"

TaskQueue::TaskQueue()
{
    std::thread([state = state_] {
        std::unique_lock lock(state->lock);
        for (;;) {
            state->wake.wait(lock, [&] { return state->ended || !state->tasks.empty(); });
            if (state->tasks.empty())
                return;
            std::function<void()> task = std::move(state->tasks.front());
            state->tasks.pop_front();
            lock.unlock();
            task();
            task = nullptr; // what it holds goes here, off the lock
            lock.lock();
        }
    }).detach();
}

TaskQueue::~TaskQueue()
{
    const std::lock_guard lock(state_->lock);
    state_->ended = true;
    state_->wake.notify_one();
}

void TaskQueue::post(std::function<void()> task)
{
    const std::lock_guard lock(state_->lock);
    state_->tasks.push_back(std::move(task));
    state_->wake.notify_one();
}
