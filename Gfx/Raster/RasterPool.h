#pragma once
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace Gfx {

// Threads that live as long as their render target and share out the bands of each frame.
class RasterPool {
  public:
    // threads: all that work on a frame, the caller included.
    explicit RasterPool(unsigned threads);
    ~RasterPool();
    RasterPool(const RasterPool&) = delete;
    RasterPool& operator=(const RasterPool&) = delete;

    unsigned Threads() const { return static_cast<unsigned>(m_Workers.size()) + 1; }
    // task(0) .. task(count - 1), each once, on the workers and the caller; returns when all
    // have ended.
    void Run(size_t count, const std::function<void(size_t)>& task);

  private:
    void Work();
    void TakeTasks();

    std::vector<std::thread> m_Workers;
    std::mutex m_Mutex;
    std::condition_variable m_Start, m_Done;
    const std::function<void(size_t)>* m_Task = nullptr;
    size_t m_Count = 0, m_Next = 0, m_Finished = 0;
    unsigned long m_Generation = 0;
    bool m_Stop = false;
};

}  // namespace Gfx
