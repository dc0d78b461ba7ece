// The format reference against the reader: a heading for every block keyword it accepts,
// and one row in the error table for every error text in the engine's sources.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "Core/DocumentReader.h"

namespace {

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

const std::vector<std::string>& Reference() {
    static const auto lines =
        Lines(ReadAll(std::filesystem::path(ZEL_SOURCE_DIR) / "docs" / "format.md"));
    return lines;
}

bool HasHeading(const std::string& word) {
    for (const auto& line : Reference()) {
        if (!line.empty() && line[0] == '#' && line.find("`" + word + "`") != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST(FormatReference, EveryBlockKeywordOfTheReaderHasAHeading) {
    ASSERT_GT(Reference().size(), 100u) << "docs/format.md missing";
    size_t keywords = 0;
    for (const auto& group : ZEL::DocumentReader::BlockKeywords()) {
        for (const auto& keyword : group.keywords) {
            ++keywords;
            EXPECT_TRUE(HasHeading(keyword)) << group.where << " keyword " << keyword;
        }
    }
    EXPECT_GE(keywords, 35u);
    for (const char* label : ZEL::kSectionLabels) {
        EXPECT_TRUE(HasHeading(label)) << "section " << label;
    }
}

// The string literals of one message expression, unescaped: "a geometry with name \"" +
// name + "\" does not exist" gives the two pieces around the name.
std::vector<std::string> Pieces(const std::string& expression) {
    static const std::regex kLiteral(R"re("((?:[^"\\]|\\.)*)")re");
    std::vector<std::string> pieces;
    for (std::sregex_iterator it(expression.begin(), expression.end(), kLiteral), end; it != end;
         ++it) {
        std::string piece;
        const std::string raw = (*it)[1];
        for (size_t i = 0; i < raw.size(); ++i) {
            piece += raw[i] == '\\' && i + 1 < raw.size() ? raw[++i] : raw[i];
        }
        if (!piece.empty()) {
            pieces.push_back(piece);
        }
    }
    return pieces;
}

struct Message {
    std::string where;
    std::vector<std::string> pieces;
};

// Every place in Core/ that makes an error text: raised parse and runtime errors, thrown
// exceptions, error texts set directly and the duplicate-name phrases.
std::vector<Message> MessagesInCode() {
    static const std::regex kSite(
        R"re((RaiseParseError\(|RaiseRuntimeError\(|m_ErrorText = |throw std::\w+\(|AddTo\()([^;]*);)re");
    std::vector<Message> messages;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(ZEL_SOURCE_DIR) / "Core")) {
        const auto ext = entry.path().extension();
        if (ext != ".cpp" && ext != ".h") {
            continue;
        }
        const std::string text = ReadAll(entry.path());
        for (std::sregex_iterator it(text.begin(), text.end(), kSite), end; it != end; ++it) {
            auto pieces = Pieces((*it)[2]);
            if (!pieces.empty()) {
                messages.push_back(
                    {entry.path().filename().string() + ": " + (*it)[0].str(), std::move(pieces)});
            }
        }
    }
    return messages;
}

// The rows of the error table: lines of the "Error messages" part that start with "| `".
std::vector<std::string> ErrorRows() {
    std::vector<std::string> rows;
    bool inside = false;
    for (const auto& line : Reference()) {
        if (line.rfind("## ", 0) == 0) {
            inside = line.find("Error messages") != std::string::npos;
        } else if (inside && line.rfind("| `", 0) == 0) {
            rows.push_back(line.substr(0, line.find("` |") + 1));
        }
    }
    return rows;
}

bool Matches(const Message& message, const std::string& row) {
    size_t at = 0;
    for (const auto& piece : message.pieces) {
        at = row.find(piece, at);
        if (at == std::string::npos) {
            return false;
        }
        at += piece.size();
    }
    return true;
}

TEST(FormatReference, ErrorTableHoldsEveryErrorTextOfTheEngine) {
    const auto messages = MessagesInCode();
    const auto rows = ErrorRows();
    ASSERT_GE(messages.size(), 30u);
    ASSERT_GE(rows.size(), 30u);
    for (const auto& message : messages) {
        bool found = false;
        for (const auto& row : rows) {
            found = found || Matches(message, row);
        }
        EXPECT_TRUE(found) << "no row in the error table of docs/format.md for " << message.where;
    }
    for (const auto& row : rows) {
        bool found = false;
        for (const auto& message : messages) {
            found = found || Matches(message, row);
        }
        EXPECT_TRUE(found) << "the engine has no such text: " << row;
    }
}

}  // namespace
