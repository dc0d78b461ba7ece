#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Core/IFactory.h"
#include "Core/MaskData.h"
#include "Gfx/Bitmap.h"

namespace ZEL {

struct ReadRecord;

// Bounds shared by one top-level load and every file it pulls in, so that no document can
// make a load recurse, fan out or grow without end.
struct LoadBudget {
    static constexpr size_t kMaxDepth = 32;
    static constexpr size_t kMaxFiles = 1024;
    static constexpr size_t kMaxObjects = 1000000;

    std::vector<std::string> chain;  // files being read, outermost first
    size_t files = 0;
    size_t objects = 0;
    // Every document, source and image the load named, as opened (may repeat).
    std::vector<std::string> named;
};

// The one engine factory: loads documents and keeps the mask cache they share.
class Factory : public IFactory {
  public:
    Factory() = default;
    ~Factory() override;

    int CreateScenimator(const std::string& path, uint32_t startTime,
                         Gfx::RenderTarget* renderTarget, IScenimator** document) override;
    const std::string& GetErrorText() const override { return m_ErrorText; }

    // Masks are shared within one document only (scope: its serial number): the same name in
    // two documents is two geometries.
    std::shared_ptr<MaskData> FindMask(uint64_t scope, const std::string& key) const;
    void StoreMask(uint64_t scope, const std::string& key, std::shared_ptr<MaskData> mask);
    // Called when the document of that scope goes, so reloading never grows the cache.
    void DropMasks(uint64_t scope);

    // A bitmap already decoded from this file and still in use, so no file is decoded twice.
    std::shared_ptr<Gfx::Bitmap> FindDecoded(const std::string& path) const;
    void StoreDecoded(const std::string& path, const std::shared_ptr<Gfx::Bitmap>& bitmap);

    // The budget of the load in progress; null between loads.
    LoadBudget* Budget() const { return m_Budget.get(); }
    // While set, every load through this factory (child documents included) writes down
    // what it read and forgave there; the caller keeps it alive. Null by default.
    void SetReadRecord(ReadRecord* record) { m_Record = record; }
    ReadRecord* Record() const { return m_Record; }

    // The files the last top-level load opened or tried to open, failed loads included:
    // documents, child documents and sources, and the images it names (decoded only at
    // first draw). Sorted, each once; paths as opened, relative to the working directory.
    const std::vector<std::string>& LastLoadFiles() const { return m_LastLoadFiles; }

  private:
    int Load(const std::string& path, uint32_t startTime, Gfx::RenderTarget* renderTarget,
             IScenimator** document);

    std::map<std::pair<uint64_t, std::string>, std::shared_ptr<MaskData>> m_MaskCache;
    std::string m_ErrorText;
    std::unique_ptr<LoadBudget> m_Budget;
    std::map<std::string, std::weak_ptr<Gfx::Bitmap>> m_Decoded;
    std::vector<std::string> m_LastLoadFiles;
    ReadRecord* m_Record = nullptr;
};

}  // namespace ZEL
