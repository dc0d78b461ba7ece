// SVG files that must fail cleanly, or import without harm.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <regex>
#include <sstream>

#include "Import/Importer.h"
#include "ImportFixture.h"

using namespace Import;

namespace {

std::string ErrorOf(const std::string& svg) {
    try {
        ParseSvgText(svg);
    } catch (const ImportError& e) {
        return std::to_string(e.Line()) + ": " + e.what();
    }
    return "no error";
}

}  // namespace

TEST(HostileSvgTest, EntityExpansionStops) {
    std::string laughs = "<?xml version='1.0'?>\n<!DOCTYPE svg [\n<!ENTITY a0 'lol'>\n";
    for (int i = 1; i <= 10; ++i) {
        laughs += "<!ENTITY a" + std::to_string(i) + " '";
        for (int j = 0; j < 10; ++j) laughs += "&a" + std::to_string(i - 1) + ";";
        laughs += "'>\n";
    }
    laughs += "]>\n<svg xmlns='http://www.w3.org/2000/svg'><text>&a10;</text></svg>";
    EXPECT_NE(ErrorOf(laughs).find("entit"), std::string::npos) << ErrorOf(laughs);

    const std::string external =
        "<!DOCTYPE svg [<!ENTITY x SYSTEM 'file:///etc/passwd'>]>\n"
        "<svg xmlns='http://www.w3.org/2000/svg'><text>&x;</text></svg>";
    EXPECT_NE(ErrorOf(external).find("external entity \"x\""), std::string::npos)
        << ErrorOf(external);

    // Internal entities within bounds are fine (drawing programs write them).
    const std::string small =
        "<!DOCTYPE svg [<!ENTITY red '#ff0000'>]>\n"
        "<svg xmlns='http://www.w3.org/2000/svg'><rect fill='&red;'/></svg>";
    EXPECT_EQ(ParseSvgText(small)->children[0]->attributes["fill"], "#ff0000");
}

TEST(HostileSvgTest, DeepNestingAndWrongDocumentsFailWithTheirLine) {
    std::string deep = "<svg xmlns='http://www.w3.org/2000/svg'>";
    for (int i = 0; i < 300; ++i) deep += "<g>";
    for (int i = 0; i < 300; ++i) deep += "</g>";
    deep += "</svg>";
    EXPECT_NE(ErrorOf(deep).find("nested deeper than 256 levels"), std::string::npos)
        << ErrorOf(deep);
    EXPECT_EQ(ErrorOf("<svg xmlns='http://www.w3.org/2000/svg'>\n<rect>\n</svg>"),
              "3: not well-formed XML: Opening and ending tag mismatch: rect line 2 and svg");
    EXPECT_EQ(ErrorOf("<html>\n</html>"), "1: not an SVG file: the root element is <html>");
    EXPECT_EQ(ErrorOf("<svg xmlns='urn:other'/>"), "1: not an SVG file: the root element is <svg>");
    EXPECT_EQ(ErrorOf(""), "1: not well-formed XML: Document is empty");
}

TEST_F(ImportFixture, HugeNumbersNeverReachTheDocument) {
    ASSERT_TRUE(Draw(Svg(R"~(
        <path id="far" d="M0 0 L1e300 0 L0 1e300 Z" fill="red"/>
        <path id="infinite" d="M0 0 L1e999 5" stroke="red"/>
        <rect id="wide" width="1e308" height="1e308" transform="scale(1e308)" fill="red"/>
        <circle id="nan" r="NaN" fill="red"/>
        <rect width="50" height="50" x="1e-320" fill="red" stroke-width="1e38" stroke="blue"
              transform="matrix(1e-300 0 0 1e-300 0 0)"/>
        <rect id="ok" x="150" y="150" width="20" height="20" fill="red"/>)~")));
    EXPECT_TRUE(IsRed(160, 160)) << m_Document;
    EXPECT_TRUE(Warned("\"far\" has coordinates beyond 1e7"));
    EXPECT_EQ(m_Document.find("e+"), std::string::npos) << m_Document;
    EXPECT_FALSE(std::regex_search(m_Document, std::regex("\\b(inf|nan)\\b"))) << m_Document;
}

TEST_F(ImportFixture, RunImportWritesNothingOnError) {
    Write("bad.svg", "<svg xmlns='http://www.w3.org/2000/svg'>\n<g>\n</svg>\n");
    std::ostringstream errors;
    EXPECT_EQ(RunImport({"bad.svg", "", "", "", 0, 0}, errors), 1);
    EXPECT_EQ(errors.str(),
              "bad.svg:3: error: not well-formed XML: Opening and ending tag mismatch: g line 2 "
              "and svg\n");
    EXPECT_FALSE(std::filesystem::exists(m_Dir / "bad.scn"));

    ASSERT_EQ(mkfifo((m_Dir / "pipe.svg").c_str(), 0600), 0);
    errors.str("");
    EXPECT_EQ(RunImport({"pipe.svg", "", "", "", 0, 0}, errors), 1);
    EXPECT_EQ(errors.str(), "pipe.svg:0: error: not a regular file\n");

    {
        std::ofstream big(m_Dir / "big.svg");
        big << "<svg xmlns='http://www.w3.org/2000/svg'><desc>";
        big.seekp((64 << 20) + 10);
        big << "</desc></svg>";
    }
    errors.str("");
    EXPECT_EQ(RunImport({"big.svg", "", "", "", 0, 0}, errors), 1);
    EXPECT_EQ(errors.str(), "big.svg:0: error: the file is larger than 64 MiB\n");
}

TEST_F(ImportFixture, RunImportWritesTheDocumentAndItsImages) {
    // A 1x1 red PNG, embedded.
    const char png[] =
        "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAIAAACQd1PeAAAADElEQVR4nGP4z8AAAAMBAQDJ/"
        "pLvAAAAAElFTkSuQmCC";
    Write("art/pic.svg",
          Svg(std::string("<image id='photo' width='100' height='50' "
                          "preserveAspectRatio='none' href='data:image/png;base64,") +
              png + "'/>\n<rect id='r' filter='url(#f)' width='1' height='1'/>"));
    std::ostringstream errors;
    ASSERT_EQ(RunImport({"art/pic.svg", "out/pic.scn", "", "", 0, 0}, errors), 1)
        << "the out folder does not exist yet";
    std::filesystem::create_directories(m_Dir / "out");
    errors.str("");
    ASSERT_EQ(RunImport({"art/pic.svg", "out/pic.scn", "", "", 0, 0}, errors), 0) << errors.str();
    EXPECT_EQ(errors.str(), "art/pic.svg:2: warning: <filter> on \"r\" is not imported\n");
    EXPECT_TRUE(std::filesystem::exists(m_Dir / "out/pic-photo.png"));
    std::ifstream in(m_Dir / "out/pic.scn");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("photo BitmapFromFile{ out/pic-photo.png }"), std::string::npos)
        << text.str();
    auto doc = LoadOnTarget(text.str());
    ASSERT_TRUE(doc);
    Frame(*doc, 0);
    EXPECT_TRUE(IsRed(50, 25));
    EXPECT_TRUE(IsWhite(50, 60));

    // A linked file outside the SVG's folder is never read.
    Write("secret.png", "x");
    Write("art/link.svg", Svg("<image id='i' width='10' height='10' href='../secret.png'/>"));
    errors.str("");
    ASSERT_EQ(RunImport({"art/link.svg", "", "", "", 0, 0}, errors), 0);
    EXPECT_NE(errors.str().find("outside the SVG's folder; it is not imported"), std::string::npos);
}

TEST_F(ImportFixture, UsesOfUsesCannotMultiplyWithoutEnd) {
    // Ten levels of ten uses each would be ten billion rectangles.
    std::string body = "<defs><rect id='l0' width='1' height='1' fill='red'/>";
    for (int level = 1; level <= 10; ++level) {
        body += "<g id='l" + std::to_string(level) + "'>";
        for (int i = 0; i < 10; ++i) body += "<use href='#l" + std::to_string(level - 1) + "'/>";
        body += "</g>";
    }
    body += "</defs><use href='#l10'/>";
    const auto start = std::chrono::steady_clock::now();
    Convert(Svg(body));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
    EXPECT_TRUE(Warned("more than 1000000 elements"));
}
