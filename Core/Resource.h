#pragma once
#include <memory>

#include "Core/ScenimatorComponent.h"

namespace ZEL {

// Drop policies: a CleanupReset resource that reads variables is dropped after every frame;
// a CleanupNull resource is kept for the document's life.
struct CleanupReset {
    static constexpr bool kDrops = true;
};
struct CleanupNull {
    static constexpr bool kDrops = false;
};

// Builds its drawing object on first use and keeps it until Cleanup drops it.
template <typename T, typename Policy>
class Resource : public ScenimatorComponent, public Policy {
  public:
    ~Resource() override = default;

    // Builds when empty; an empty build result is returned and retried at the next use.
    std::shared_ptr<T> GetResource() {
        if (!m_Resource) {
            m_Resource = CreateResource();
        }
        return m_Resource;
    }

    void Cleanup() {
        if (Policy::kDrops && dependsOnVariables && m_Resource) {
            m_Resource.reset();
        }
    }

    bool IsBuilt() const { return m_Resource != nullptr; }

    bool dependsOnVariables = false;

  protected:
    virtual std::shared_ptr<T> CreateResource() = 0;

  private:
    std::shared_ptr<T> m_Resource;
};

}  // namespace ZEL
