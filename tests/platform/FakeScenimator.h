#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "Core/IScenimator.h"
#include "Platform/ScriptedOsLayer.h"

// What the fake engine does and what it saw.
struct EngineScript {
    bool factoryAvailable = true;
    int loadResult = ZEL::kSuccess;
    std::string loadError = "Parse Error:::data\\vortel\\postprocess.scn : 3 : bad token";
    std::string loadPath;
    uint32_t loadStartTime = 0;
    int updateFailsAt = 0;  // 1-based call number; 0 = never
    int renderFailsAt = 0;
    std::string documentError = "Scenimator Runtime Blocking Error:::no MainAnim";
    std::vector<uint32_t> updateTimes;
    int renders = 0;
};

// A document that logs into the scripted OS layer and fails when told to.
class FakeScenimator : public ZEL::IScenimator {
  public:
    FakeScenimator(ZEL::ScriptedOsLayer& os, EngineScript& script) : m_Os(os), m_Script(script) {}
    ~FakeScenimator() override { m_Os.Record("delete document"); }

    int ReadVariable(const std::string&, float*) override { return ZEL::kNotFound; }
    int WriteVariable(const std::string&, float) override { return ZEL::kNotFound; }
    int HitTest(int32_t, int32_t, bool*) override { return ZEL::kSuccess; }
    int PlayAnimation(const std::string&, uint32_t) override { return ZEL::kSuccess; }
    const std::string& GetErrorText() const override { return m_Script.documentError; }

    int Update(uint32_t time) override {
        m_Os.Record("Update");
        m_Script.updateTimes.push_back(time);
        return Fails(m_Script.updateTimes.size(), m_Script.updateFailsAt);
    }

    int Render(const Gfx::Matrix3x2& base, Gfx::Matrix3x2* top) override {
        m_Os.Record(IsIdentity(base) && !top ? "Render" : "Render (not identity)");
        return Fails(++m_Script.renders, m_Script.renderFailsAt);
    }

  private:
    // Field by field: the host's tests do not link the drawing layer.
    static bool IsIdentity(const Gfx::Matrix3x2& m) {
        return m.m11 == 1 && m.m12 == 0 && m.m21 == 0 && m.m22 == 1 && m.dx == 0 && m.dy == 0;
    }

    static int Fails(size_t call, int failsAt) {
        return failsAt > 0 && call == static_cast<size_t>(failsAt) ? ZEL::kRuntimeError
                                                                   : ZEL::kSuccess;
    }

    ZEL::ScriptedOsLayer& m_Os;
    EngineScript& m_Script;
};
