#include "Check/Similar.h"

#include <algorithm>
#include <cctype>

namespace ZEL {

namespace {

// Edits (insertions, deletions, substitutions) from a to b, case ignored.
size_t Distance(const std::string& a, const std::string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                              std::tolower(static_cast<unsigned char>(b[j - 1]));
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::string Closest(const std::string& word, const std::vector<std::string>& candidates) {
    std::string best;
    size_t bestDistance = 3;
    for (const std::string& candidate : candidates) {
        if (candidate == word) {
            continue;
        }
        const size_t d = Distance(word, candidate);
        if (d < bestDistance && 2 * d < word.size()) {
            best = candidate;
            bestDistance = d;
        }
    }
    return best;
}

}  // namespace ZEL
