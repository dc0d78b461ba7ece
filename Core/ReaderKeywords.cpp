// The reader's keywords as data, for the format reference and the tools that check it.
#include "Core/DocumentReader.h"

namespace ZEL {

namespace {

template <typename Table>
std::vector<std::string> KeywordsOf(const Table& table) {
    std::vector<std::string> keywords;
    for (const auto& entry : table) {
        keywords.push_back(entry.first);
    }
    return keywords;
}

}  // namespace

std::vector<DocumentReader::KeywordGroup> DocumentReader::BlockKeywords() {
    return {
        {"document", {kDocumentKeyword}},
        {"geometry", KeywordsOf(GeometryKeywords())},
        {"figure", {kFigureKeyword}},
        {"segment", KeywordsOf(SegmentKeywords())},
        {"brush", KeywordsOf(BrushKeywords())},
        {"gradient", {kStopCollectionKeyword, kStopKeyword}},
        {"bitmap", KeywordsOf(BitmapKeywords())},
        {"transform", KeywordsOf(TransformKeywords())},
        {"child document", {kDocumentKeyword}},
        {"executable", KeywordsOf(ExecutableKeywords())},
        {"controller", KeywordsOf(ControllerKeywords())},
        {"animation", {kAnimationKeyword}},
        {"value", {kColorKeyword, kPointKeyword, kRectKeyword}},
    };
}

}  // namespace ZEL
