#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <stop_token>

// A lock-free byte ring between exactly one producer thread and one consumer thread.
//
// Invariants: `written_` and `read_` are running totals; only the producer advances `written_`,
// only the consumer advances `read_`, and 0 <= written_ - read_ <= capacity. The producer calls
// write(), waitForSpace() and close(); the consumer calls read(). Every other member may be called
// from any thread. Once closed, nothing more is written, so a closed ring that is empty stays
// empty. The data path takes no lock; the consumer takes the wake-up lock only for the moment it
// wakes a producer that waits for the room it has just made.
class RingBuffer {
public:
    explicit RingBuffer(std::size_t capacity);

    // Copies as much of `data` as fits; returns the number of bytes taken. Producer only.
    std::size_t write(const std::byte* data, std::size_t size);
    // Sleeps until `bytes` (at most the capacity) are free or a stop is requested; true when
    // they are free. Producer only.
    bool waitForSpace(std::size_t bytes, std::stop_token stop);
    // The producer will write nothing more.
    void close();

    // Copies up to `size` buffered bytes into `out`; returns the number copied. Consumer only.
    std::size_t read(std::byte* out, std::size_t size);

    std::size_t capacity() const { return capacity_; }
    std::size_t available() const;
    std::size_t freeSpace() const { return capacity_ - available(); }
    bool isClosed() const { return closed_.load(std::memory_order_acquire); }
    // Everything that was ever written has been read, and nothing more will come.
    bool isDrained() const { return isClosed() && available() == 0; }
    std::uint64_t totalRead() const { return read_.load(std::memory_order_acquire); }

private:
    const std::size_t capacity_;
    const std::unique_ptr<std::byte[]> data_;
    std::atomic<std::uint64_t> written_{0};
    std::atomic<std::uint64_t> read_{0};
    std::atomic<bool> closed_{false};
    // What the producer waits for: the free bytes it wants, 0 while it does not wait.
    std::atomic<std::size_t> wanted_{0};
    std::mutex wakeLock_;
    std::condition_variable_any roomMade_;
};
