#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Core/Factory.h"
#include "Core/ReadRecord.h"
#include "Core/Scenimator.h"
#include "Gfx/RenderTarget.h"

// Reading with a record attached must read exactly as without one: every document the
// repository holds loads, or fails, the same way, into the same objects and variables.
namespace {

struct Outcome {
    int code = -1;
    std::string error;
    std::vector<std::string> variables;
    std::vector<size_t> tableSizes;
    std::string animation;
    bool operator==(const Outcome& o) const {
        return code == o.code && error == o.error && variables == o.variables &&
               tableSizes == o.tableSizes && animation == o.animation;
    }
};

Outcome Load(const std::string& path, bool record, ZEL::ReadRecord* kept = nullptr) {
    std::shared_ptr<Gfx::RenderTarget> target;
    EXPECT_EQ(Gfx::RenderTarget::Create(64, 48, 96, &target), Gfx::kOk);
    ZEL::ReadRecord own;
    ZEL::Factory factory;
    if (record) {
        factory.SetReadRecord(kept ? kept : &own);
    }
    ZEL::IScenimator* loaded = nullptr;
    Outcome o;
    o.code = factory.CreateScenimator(path, 0, target.get(), &loaded);
    o.error = factory.GetErrorText();
    std::unique_ptr<ZEL::Scenimator> doc(static_cast<ZEL::Scenimator*>(loaded));
    if (doc) {
        for (const auto& v : doc->Variables()) {
            o.variables.push_back(v.first + "=" + std::to_string(v.second));
        }
        o.tableSizes = {doc->Geometries().size(),  doc->Brushes().size(),
                        doc->Bitmaps().size(),     doc->Transforms().size(),
                        doc->ChildZels().size(),   doc->Executables().size(),
                        doc->Controllers().size(), doc->Animations().size()};
        o.animation = doc->CurrentAnimation();
        o.code = doc->Update(500) * 10 + o.code;
        o.error += "|" + doc->GetErrorText();
    }
    return o;
}

std::vector<std::string> Documents() {
    std::vector<std::string> files;
    for (const char* folder : {"data", "tests", "fuzz/seeds", "bench", "docs"}) {
        const std::filesystem::path dir = std::filesystem::path(ZEL_SOURCE_DIR) / folder;
        if (!std::filesystem::is_directory(dir)) {
            continue;
        }
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
            if (entry.path().extension() == ".scn") {
                files.push_back(std::filesystem::relative(entry.path(), ZEL_SOURCE_DIR).string());
            }
        }
    }
    return files;
}

TEST(ReadRecord, ChangesNothingTheReaderDoes) {
    // Documents name their children and images relative to the repository.
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(ZEL_SOURCE_DIR);
    const std::vector<std::string> files = Documents();
    ASSERT_GE(files.size(), 20u);
    size_t failing = 0;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const Outcome plain = Load(file, false);
        EXPECT_TRUE(plain == Load(file, true));
        failing += plain.code % 10 != ZEL::kSuccess;
    }
    EXPECT_GE(failing, 10u);  // the faulty test documents are among them
    std::filesystem::current_path(old);
}

TEST(ReadRecord, NotesWhereObjectsAndVariablesAreRead) {
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(ZEL_SOURCE_DIR);
    ZEL::ReadRecord record;
    Load("tests/data/check/variables.scn", true, &record);
    std::filesystem::current_path(old);

    ASSERT_EQ(record.files.size(), 2u);  // the document and its child
    const auto first = record.variables.begin();
    ASSERT_NE(first, record.variables.end());
    size_t atLine3 = 0;
    for (const auto& v : record.variables) {
        if (v.first.second == "$bxx") {
            EXPECT_EQ(v.second.line, 3);
            EXPECT_EQ(v.second.file, "tests/data/check/variables.scn");
            ++atLine3;
        }
    }
    EXPECT_EQ(atLine3, 1u);
    EXPECT_FALSE(record.failure.raised);
    EXPECT_TRUE(record.open.empty());  // every counted list was closed
    // One place per object read: 1 geometry, 1 brush, 1 child, 1 procedure with 4
    // commands, 3 controllers, 1 animation; the child's own 1+1+1+1+3+1.
    EXPECT_EQ(record.places.size(), 12u + 8u);
}

}  // namespace
