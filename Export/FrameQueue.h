#pragma once
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

namespace ZEL {

// A bounded queue between two pipeline stages: Push waits while it is full, Pop waits
// while it is empty, and both give up once the queue is closed (Pop after the rest has
// been taken).
template <typename T>
class FrameQueue {
  public:
    explicit FrameQueue(size_t capacity) : m_Capacity(capacity) {}

    // False when the queue was closed (the consumer gave up).
    bool Push(T item) {
        std::unique_lock<std::mutex> lock(m_Mutex);
        m_NotFull.wait(lock, [this] { return m_Closed || m_Items.size() < m_Capacity; });
        if (m_Closed) {
            return false;
        }
        m_Items.push_back(std::move(item));
        m_NotEmpty.notify_one();
        return true;
    }
    // Empty once the queue is closed and drained.
    std::optional<T> Pop() {
        std::unique_lock<std::mutex> lock(m_Mutex);
        m_NotEmpty.wait(lock, [this] { return m_Closed || !m_Items.empty(); });
        if (m_Items.empty()) {
            return std::nullopt;
        }
        return TakeFront();
    }
    // Empty at once when nothing is queued.
    std::optional<T> TryPop() {
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (m_Items.empty()) {
            return std::nullopt;
        }
        return TakeFront();
    }
    // Adds without waiting (for handing used buffers back); false when full or closed.
    bool TryPush(T item) {
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (m_Closed || m_Items.size() >= m_Capacity) {
            return false;
        }
        m_Items.push_back(std::move(item));
        m_NotEmpty.notify_one();
        return true;
    }
    void Close() {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Closed = true;
        m_NotEmpty.notify_all();
        m_NotFull.notify_all();
    }

  private:
    // Called with the lock held and something queued.
    T TakeFront() {
        T item = std::move(m_Items.front());
        m_Items.pop_front();
        m_NotFull.notify_one();
        return item;
    }

    std::mutex m_Mutex;
    std::condition_variable m_NotFull, m_NotEmpty;
    std::deque<T> m_Items;
    size_t m_Capacity;
    bool m_Closed = false;
};

// One rendered frame on its way to a file.
struct VideoFrame {
    std::vector<uint8_t> bgra;  // opaque, premultiplied rows
    uint32_t width = 0, height = 0, stride = 0;
    size_t index = 0;
};

}  // namespace ZEL
