#pragma once
#include "Core/IFactory.h"
#include "FakeScenimator.h"

// A factory that hands out fake documents, or fails to load as scripted.
class FakeFactory : public ZEL::IFactory {
  public:
    FakeFactory(ZEL::ScriptedOsLayer& os, EngineScript& script) : m_Os(os), m_Script(script) {}
    ~FakeFactory() override { m_Os.Record("delete factory"); }

    int CreateScenimator(const std::string& path, uint32_t startTime, Gfx::RenderTarget*,
                         ZEL::IScenimator** document) override {
        m_Os.Record("CreateScenimator " + path);
        m_Script.loadPath = path;
        m_Script.loadStartTime = startTime;
        *document = nullptr;
        if (m_Script.loadResult != ZEL::kSuccess) {
            return m_Script.loadResult;
        }
        *document = new FakeScenimator(m_Os, m_Script);
        return ZEL::kSuccess;
    }
    const std::string& GetErrorText() const override { return m_Script.loadError; }

  private:
    ZEL::ScriptedOsLayer& m_Os;
    EngineScript& m_Script;
};
