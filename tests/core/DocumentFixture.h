#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

#include "Core/BrushBase.h"
#include "Core/Factory.h"
#include "Core/GeometryBase.h"
#include "Core/Scenimator.h"
#include "ScratchFolderTest.h"

// Writes documents into a fresh temporary folder and loads them through a factory of its
// own, so tests share no mask cache or error text.
class DocumentFixture : public ScratchFolderTest {
  protected:
    DocumentFixture() : ScratchFolderTest(WorkIn::Scratch) {}

    // Loads name; on failure returns null and leaves the factory's text in Error().
    std::unique_ptr<ZEL::Scenimator> Load(const std::string& name, uint32_t start = 0,
                                          Gfx::RenderTarget* target = nullptr) {
        ZEL::IScenimator* doc = nullptr;
        m_LastCode = m_Factory.CreateScenimator(name, start, target, &doc);
        return std::unique_ptr<ZEL::Scenimator>(static_cast<ZEL::Scenimator*>(doc));
    }
    std::unique_ptr<ZEL::Scenimator> LoadText(const std::string& text, uint32_t start = 0,
                                              Gfx::RenderTarget* target = nullptr) {
        Write("doc.scn", text);
        return Load("doc.scn", start, target);
    }
    const std::string& Error() const { return m_Factory.GetErrorText(); }

    static float Var(ZEL::IScenimator& doc, const std::string& name) {
        float v = -12345;
        EXPECT_EQ(doc.ReadVariable(name, &v), ZEL::kSuccess) << name;
        return v;
    }

    ZEL::Factory m_Factory;
    int m_LastCode = -1;
};

// A complete document around the given sections; empty sections by default.
struct Doc {
    std::string geometries = "noOfGeometries 0\n";
    std::string brushes = "noOfBrushes 0\n";
    std::string images = "noOfImages 0\n";
    std::string transforms = "noOfTransforms 0\n";
    std::string children = "noOfChildZels 0\n";
    std::string executables = "noOfExecutables 0\n";
    std::string controllers = "noOfControllers 0\n";
    std::string animations = "noOfAnimations 0\n";
    std::string Text() const {
        return "Scenimator{\n" + geometries + brushes + images + transforms + children +
               executables + controllers + animations + "}\n";
    }
};
