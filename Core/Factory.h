#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Core/IFactory.h"
#include "Core/MaskData.h"

namespace ZEL {

// Bounds shared by one top-level load and every file it pulls in, so that no document can
// make a load recurse, fan out or grow without end.
struct LoadBudget {
    static constexpr size_t kMaxDepth = 32;
    static constexpr size_t kMaxFiles = 1024;
    static constexpr size_t kMaxObjects = 1000000;

    std::vector<std::string> chain;  // files being read, outermost first
    size_t files = 0;
    size_t objects = 0;
};

// The one engine factory: loads documents and keeps the mask cache they share.
class Factory : public IFactory {
public:
    Factory() = default;
    ~Factory() override;

    int CreateScenimator(const std::string& path, uint32_t startTime,
                         Gfx::RenderTarget* renderTarget, IScenimator** document) override;
    const std::string& GetErrorText() const override { return m_ErrorText; }

    std::shared_ptr<MaskData> FindMask(const std::string& key) const;
    void StoreMask(const std::string& key, std::shared_ptr<MaskData> mask);

    // The budget of the load in progress; null between loads.
    LoadBudget* Budget() const { return m_Budget.get(); }

private:
    int Load(const std::string& path, uint32_t startTime, Gfx::RenderTarget* renderTarget,
             IScenimator** document);

    std::map<std::string, std::shared_ptr<MaskData>> m_MaskCache;
    std::string m_ErrorText;
    std::unique_ptr<LoadBudget> m_Budget;
};

}  // namespace ZEL
