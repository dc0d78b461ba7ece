// The README's worked example stays true: the committed import is what zelimport writes
// today, and the hand-animated copy loads and moves.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Import/Importer.h"
#include "ImportFixture.h"

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

const std::string kExample = std::string(ZEL_SOURCE_DIR) + "/docs/import/";

}  // namespace

TEST_F(ImportFixture, TheCommittedImportIsWhatTheImporterWrites) {
    std::ostringstream errors;
    ASSERT_EQ(Import::RunImport({kExample + "windmill.svg", "windmill.scn", "", "", 0, 0}, errors),
              0);
    EXPECT_EQ(errors.str(), kExample +
                                "windmill.svg:66: warning: <text> on \"title\" is laid out by "
                                "the player; its spacing may differ\n");
    EXPECT_EQ(Slurp("windmill.scn"), Slurp(kExample + "windmill.scn"))
        << "run: zelimport docs/import/windmill.svg";
}

TEST_F(ImportFixture, TheAnimatedExampleTurnsItsSails) {
    auto doc = LoadOnTarget(Slurp(kExample + "windmill-animated.scn"));
    ASSERT_TRUE(doc);
    Frame(*doc, 0);
    // A point of the cloud at rest, which the cloud leaves as it drifts.
    const Pixel before = At(70, 62);
    Frame(*doc, 3000);
    EXPECT_FLOAT_EQ(Var(*doc, "$spin"), 180);
    EXPECT_FLOAT_EQ(Var(*doc, "$drift"), 40);
    const Pixel after = At(70, 62);
    EXPECT_GT(before.r, 230);  // cloud white
    EXPECT_LT(after.r, 200);   // sky blue
}
