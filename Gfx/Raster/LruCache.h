#pragma once
#include <algorithm>
#include <cstddef>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Gfx {

// Values kept from frame to frame up to a budget of bytes, least recently used first out.
// Shared by the threads of a frame: a value used in the current frame is never dropped
// before the next BeginFrame, so pointers handed out stay valid until then. Value needs
// Bytes(); Hash is a hasher of Key.
template <typename Key, typename Value, typename Hash>
class LruCache {
  public:
    explicit LruCache(size_t budget) : m_Budget(budget) {}

    void BeginFrame() {
        std::lock_guard<std::mutex> lock(m_Mutex);
        ++m_Frame;
        Evict(0);
    }

    // The value for key; made by make(Value*) (which returns false for one not worth
    // keeping) when it is not held. Null when it is not kept.
    template <typename Make>
    const Value* Find(const Key& key, Make&& make) {
        {
            std::lock_guard<std::mutex> lock(m_Mutex);
            auto found = m_Entries.find(key);
            if (found != m_Entries.end()) {
                found->second.lastUsed = m_Frame;
                return found->second.value.get();
            }
        }
        auto value = std::make_unique<Value>();
        if (!make(value.get()))
            return nullptr;
        const size_t bytes = value->Bytes() + kOverhead;
        std::lock_guard<std::mutex> lock(m_Mutex);
        auto found = m_Entries.find(key);
        if (found != m_Entries.end()) {  // another thread made it meanwhile
            found->second.lastUsed = m_Frame;
            return found->second.value.get();
        }
        Evict(bytes);
        if (m_Bytes + bytes > m_Budget)
            return nullptr;  // this frame alone needs more than the budget
        m_Bytes += bytes;
        Entry& entry = m_Entries[key];
        entry.value = std::move(value);
        entry.lastUsed = m_Frame;
        entry.bytes = bytes;
        return entry.value.get();
    }

    size_t Bytes() const { return m_Bytes; }
    size_t Count() const { return m_Entries.size(); }

  private:
    // Bytes an entry costs beyond its value's own: the map's node, key and bookkeeping.
    static constexpr size_t kOverhead = sizeof(Key) + sizeof(Value) + 48;

    struct Entry {
        std::unique_ptr<Value> value;
        unsigned long lastUsed = 0;
        size_t bytes = 0;
    };

    // Drops entries not used this frame, oldest first, until needed more bytes fit, and then
    // down to three quarters of the budget so that this does not run again at once.
    void Evict(size_t needed) {
        if (m_Bytes + needed <= m_Budget)
            return;
        std::vector<std::pair<unsigned long, const Key*>> old;
        for (const auto& e : m_Entries)
            if (e.second.lastUsed < m_Frame)
                old.emplace_back(e.second.lastUsed, &e.first);
        std::sort(old.begin(), old.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        const size_t target = m_Budget / 4 * 3;
        for (const auto& o : old) {
            if (m_Bytes + needed <= target)
                break;
            auto it = m_Entries.find(*o.second);
            m_Bytes -= it->second.bytes;
            m_Entries.erase(it);
        }
    }

    size_t m_Budget;
    std::mutex m_Mutex;
    std::unordered_map<Key, Entry, Hash> m_Entries;
    size_t m_Bytes = 0;
    unsigned long m_Frame = 1;
};

// An LruCache split in shards by key, each with its share of the budget and a lock of its
// own, so that threads looking up many small values at once seldom wait for each other.
template <typename Key, typename Value, typename Hash>
class ShardedLruCache {
  public:
    static constexpr size_t kShards = 16;

    explicit ShardedLruCache(size_t budget) {
        for (auto& shard : m_Shards)
            shard = std::make_unique<LruCache<Key, Value, Hash>>(budget / kShards);
    }
    void BeginFrame() {
        for (auto& shard : m_Shards) shard->BeginFrame();
    }
    template <typename Make>
    const Value* Find(const Key& key, Make&& make) {
        // The hash's high bits pick the shard; the shard's map uses all of them.
        return m_Shards[(Hash()(key) >> 28) % kShards]->Find(key, std::forward<Make>(make));
    }
    size_t Bytes() const {
        size_t bytes = 0;
        for (const auto& shard : m_Shards) bytes += shard->Bytes();
        return bytes;
    }
    size_t Count() const {
        size_t count = 0;
        for (const auto& shard : m_Shards) count += shard->Count();
        return count;
    }

  private:
    std::unique_ptr<LruCache<Key, Value, Hash>> m_Shards[kShards];
};

}  // namespace Gfx
