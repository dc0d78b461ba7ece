#pragma once
#include <memory>
#include <string>

#include "Import/Element.h"

namespace Import {

constexpr size_t kMaxSvgBytes = 64u << 20;
constexpr int kMaxDepth = 256;

// Reads an SVG file that must be a regular file of at most 64 MiB, and parses it with
// libxml2: no network, no external entities or DTDs, internal entities only as libxml2's
// own amplification limits allow, elements nested at most 256 deep. Returns the tree of
// SVG elements under the root <svg>; elements of other namespaces are left out.
// Throws ImportError.
std::unique_ptr<Element> LoadSvgFile(const std::string& path);
std::unique_ptr<Element> ParseSvgText(const std::string& text);

}  // namespace Import
