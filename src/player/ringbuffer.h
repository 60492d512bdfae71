#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

// A lock-free byte ring between exactly one producer thread and one consumer thread.
//
// Invariants: `written_` and `read_` are running totals; only the producer advances `written_`,
// only the consumer advances `read_`, and 0 <= written_ - read_ <= capacity. The producer calls
// write() and close(); the consumer calls read(). Every other member may be called from any
// thread. Once closed, nothing more is written, so a closed ring that is empty stays empty.
class RingBuffer {
public:
    explicit RingBuffer(std::size_t capacity);

    // Copies as much of `data` as fits; returns the number of bytes taken. Producer only.
    std::size_t write(const std::byte* data, std::size_t size);
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
};
