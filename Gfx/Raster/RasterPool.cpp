#include "Gfx/Raster/RasterPool.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace Gfx {

namespace {

// About 20 to 50 microseconds of spinning: longer than the gap between the two hand-overs
// of a frame, far shorter than the gap between frames.
constexpr int kSpins = 20000;

inline void Pause() {
#ifdef __SSE2__
    _mm_pause();
#else
    std::this_thread::yield();
#endif
}

}  // namespace

template <typename Pred>
bool RasterPool::SpinUntil(Pred pred) {
    for (int i = 0; i < kSpins; ++i) {
        if (pred())
            return true;
        Pause();
    }
    return pred();
}

RasterPool::RasterPool(unsigned threads) {
    for (unsigned i = 1; i < threads; ++i) m_Workers.emplace_back([this] { Work(); });
}

RasterPool::~RasterPool() {
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Stop = true;
        m_Generation.fetch_add(1);
    }
    m_Start.notify_all();
    for (std::thread& t : m_Workers) t.join();
}

void RasterPool::Run(size_t count, const std::function<void(size_t)>& task) {
    if (m_Workers.empty() || count <= 1) {
        for (size_t i = 0; i < count; ++i) task(i);
        return;
    }
    bool wake;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Task = &task;
        m_Count = count;
        m_Next = 0;
        m_Finished.store(0);
        m_Generation.fetch_add(1);
        wake = m_Sleeping > 0;
    }
    if (wake)
        m_Start.notify_all();
    TakeTasks();
    if (!SpinUntil([this, count] { return m_Finished.load() == count; })) {
        std::unique_lock<std::mutex> lock(m_Mutex);
        m_Done.wait(lock, [this, count] { return m_Finished.load() == count; });
    }
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Task = nullptr;
}

// Takes the next task until none is left; tasks are handed out one at a time so a band
// that happens to be busy does not hold up the others.
void RasterPool::TakeTasks() {
    for (;;) {
        size_t index, count;
        const std::function<void(size_t)>* task;
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            if (!m_Task || m_Next >= m_Count)
                return;
            index = m_Next++;
            task = m_Task;
            count = m_Count;
        }
        (*task)(index);
        if (m_Finished.fetch_add(1) + 1 == count) {
            // The caller may be asleep rather than spinning: the lock orders this notice
            // after its check.
            std::lock_guard<std::mutex> lock(m_Mutex);
            m_Done.notify_all();
        }
    }
}

void RasterPool::Work() {
    unsigned long seen = 0;
    for (;;) {
        if (!SpinUntil([&] { return m_Generation.load() != seen; })) {
            std::unique_lock<std::mutex> lock(m_Mutex);
            ++m_Sleeping;
            m_Start.wait(lock, [&] { return m_Stop || m_Generation.load() != seen; });
            --m_Sleeping;
        }
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            if (m_Stop)
                return;
            seen = m_Generation.load();
        }
        TakeTasks();
    }
}

}  // namespace Gfx
