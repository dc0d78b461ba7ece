#pragma once
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace Gfx {

// Threads that live as long as their render target and share out the work of each frame.
// A frame hands work over twice in quick succession (covering, then painting), so a worker
// that ran out of tasks waits a little while spinning before it sleeps: waking a sleeping
// thread costs more than a short frame's whole painting.
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
    // Spins until pred() holds or the spin runs out; true when it holds.
    template <typename Pred>
    static bool SpinUntil(Pred pred);

    std::vector<std::thread> m_Workers;
    std::mutex m_Mutex;
    std::condition_variable m_Start, m_Done;
    const std::function<void(size_t)>* m_Task = nullptr;
    size_t m_Count = 0, m_Next = 0;
    std::atomic<size_t> m_Finished{0};
    std::atomic<unsigned long> m_Generation{0};
    unsigned m_Sleeping = 0;  // workers waiting on m_Start
    bool m_Stop = false;
};

}  // namespace Gfx
