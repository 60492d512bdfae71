#include "ringbuffer.h"

#include <algorithm>
#include <cstring>

RingBuffer::RingBuffer(std::size_t capacity)
    : capacity_(capacity), data_(std::make_unique<std::byte[]>(capacity))
{
}

std::size_t RingBuffer::available() const
{
    // Read `read_` first: `written_` can only grow meanwhile, never below it. Sequentially
    // consistent, so a producer that has just said what room it waits for sees the latest read.
    const std::uint64_t read = read_.load();
    return static_cast<std::size_t>(written_.load(std::memory_order_acquire) - read);
}

std::size_t RingBuffer::write(const std::byte* data, std::size_t size)
{
    const std::uint64_t written = written_.load(std::memory_order_relaxed);
    const std::size_t count =
        std::min(size, capacity_ - static_cast<std::size_t>(written -
                                                            read_.load(std::memory_order_acquire)));
    const std::size_t start = written % capacity_;
    const std::size_t first = std::min(count, capacity_ - start);
    std::memcpy(data_.get() + start, data, first);
    std::memcpy(data_.get(), data + first, count - first);
    written_.store(written + count, std::memory_order_release);
    return count;
}

bool RingBuffer::waitForSpace(std::size_t bytes, std::stop_token stop)
{
    std::unique_lock lock(wakeLock_);
    wanted_.store(bytes);
    // `wanted_` is stored before the room is looked at, and read() advances `read_` before it
    // looks at `wanted_` (both sequentially consistent), so a wake-up cannot fall between them.
    const bool free = roomMade_.wait(lock, stop, [&] { return freeSpace() >= bytes; });
    wanted_.store(0);
    return free;
}

void RingBuffer::close()
{
    closed_.store(true, std::memory_order_release);
}

std::size_t RingBuffer::read(std::byte* out, std::size_t size)
{
    const std::uint64_t read = read_.load(std::memory_order_relaxed);
    const std::size_t count =
        std::min(size, static_cast<std::size_t>(written_.load(std::memory_order_acquire) - read));
    const std::size_t start = read % capacity_;
    const std::size_t first = std::min(count, capacity_ - start);
    std::memcpy(out, data_.get() + start, first);
    std::memcpy(out + first, data_.get(), count - first);
    read_.store(read + count);
    const std::size_t wanted = wanted_.load();
    if (wanted > 0 && freeSpace() >= wanted) {
        // Held only while the producer looks at the room, never while it sleeps.
        const std::lock_guard lock(wakeLock_);
        roomMade_.notify_one();
    }
    return count;
}
