#include "Gfx/Raster/RasterPool.h"

namespace Gfx {

RasterPool::RasterPool(unsigned threads) {
    for (unsigned i = 1; i < threads; ++i) m_Workers.emplace_back([this] { Work(); });
}

RasterPool::~RasterPool() {
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Stop = true;
    }
    m_Start.notify_all();
    for (std::thread& t : m_Workers) t.join();
}

void RasterPool::Run(size_t count, const std::function<void(size_t)>& task) {
    if (m_Workers.empty() || count <= 1) {
        for (size_t i = 0; i < count; ++i) task(i);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        m_Task = &task;
        m_Count = count;
        m_Next = 0;
        m_Finished = 0;
        ++m_Generation;
    }
    m_Start.notify_all();
    TakeTasks();
    std::unique_lock<std::mutex> lock(m_Mutex);
    m_Done.wait(lock, [this] { return m_Finished == m_Count; });
    m_Task = nullptr;
}

// Takes the next task until none is left; tasks are handed out one at a time so a band
// that happens to be busy does not hold up the others.
void RasterPool::TakeTasks() {
    for (;;) {
        size_t index;
        const std::function<void(size_t)>* task;
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            if (!m_Task || m_Next >= m_Count)
                return;
            index = m_Next++;
            task = m_Task;
        }
        (*task)(index);
        bool last;
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            last = ++m_Finished == m_Count;
        }
        if (last)
            m_Done.notify_all();
    }
}

void RasterPool::Work() {
    unsigned long seen = 0;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(m_Mutex);
            m_Start.wait(lock, [&] { return m_Stop || m_Generation != seen; });
            if (m_Stop)
                return;
            seen = m_Generation;
        }
        TakeTasks();
    }
}

}  // namespace Gfx
