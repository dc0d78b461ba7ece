#include "Core/Factory.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <stdexcept>

#include "Core/DocumentReader.h"
#include "Core/Scenimator.h"

namespace ZEL {

namespace {
// Atomic: factories of embedded documents go on other threads while this one may be made.
std::atomic<Factory*> g_Factory{nullptr};
}  // namespace

IFactory* GetFactory() {
    Factory* current = g_Factory.load();
    if (current) {
        return current;
    }
    Factory* made = new (std::nothrow) Factory();
    if (!made) {
        return nullptr;
    }
    // Two first calls at once: the later one keeps the earlier one's factory.
    if (!g_Factory.compare_exchange_strong(current, made)) {
        delete made;
        return current;
    }
    return made;
}

Factory::~Factory() {
    Factory* self = this;
    g_Factory.compare_exchange_strong(self, nullptr);
}

int Factory::CreateScenimator(const std::string& path, uint32_t startTime,
                              Gfx::RenderTarget* renderTarget, IScenimator** document) {
    if (m_Budget) {
        return Load(path, startTime, renderTarget, document);
    }
    m_Budget = std::make_unique<LoadBudget>();
    const int result = Load(path, startTime, renderTarget, document);
    m_LastLoadFiles = std::move(m_Budget->named);
    std::sort(m_LastLoadFiles.begin(), m_LastLoadFiles.end());
    m_LastLoadFiles.erase(std::unique(m_LastLoadFiles.begin(), m_LastLoadFiles.end()),
                          m_LastLoadFiles.end());
    m_Budget.reset();
    return result;
}

int Factory::Load(const std::string& path, uint32_t startTime, Gfx::RenderTarget* renderTarget,
                  IScenimator** document) {
    *document = nullptr;
    try {
        DocumentReader reader(this);
        std::unique_ptr<Scenimator> loaded = reader.ReadDocument(path, startTime, renderTarget);
        *document = loaded.release();
        return kSuccess;
    } catch (const std::runtime_error& e) {
        m_ErrorText = e.what();
        return kRuntimeError;
    } catch (const std::bad_alloc& e) {
        m_ErrorText = e.what();
        return kOutOfMemory;
    } catch (const std::logic_error& e) {
        m_ErrorText = e.what();
        return kLogicError;
    } catch (...) {
        m_ErrorText = "Unknown Error";
        return kRuntimeError;
    }
}

std::shared_ptr<MaskData> Factory::FindMask(uint64_t scope, const std::string& key) const {
    auto found = m_MaskCache.find({scope, key});
    return found == m_MaskCache.end() ? nullptr : found->second;
}

void Factory::StoreMask(uint64_t scope, const std::string& key, std::shared_ptr<MaskData> mask) {
    m_MaskCache[{scope, key}] = std::move(mask);
}

void Factory::DropMasks(uint64_t scope) {
    m_MaskCache.erase(m_MaskCache.lower_bound({scope, std::string()}),
                      m_MaskCache.lower_bound({scope + 1, std::string()}));
}

}  // namespace ZEL

namespace ZEL {

std::shared_ptr<Gfx::Bitmap> Factory::FindDecoded(const std::string& path) const {
    auto found = m_Decoded.find(path);
    return found == m_Decoded.end() ? nullptr : found->second.lock();
}

void Factory::StoreDecoded(const std::string& path, const std::shared_ptr<Gfx::Bitmap>& bitmap) {
    m_Decoded[path] = bitmap;
}

}  // namespace ZEL
