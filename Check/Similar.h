#pragma once
#include <string>
#include <vector>

namespace ZEL {

// The candidate that word is most likely a misspelling of: at most two letters added,
// dropped or changed (case aside), and fewer than half of word's letters. "" when none.
std::string Closest(const std::string& word, const std::vector<std::string>& candidates);

}  // namespace ZEL
