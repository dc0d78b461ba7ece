#pragma once
#include <set>
#include <string>
#include <vector>

#include "Check/Diagnostic.h"
#include "Check/DocumentTree.h"

namespace ZEL {

class Bitmap;

// Notes after a run-time failure of a document that say where it comes from, when the
// engine's text names no file or line: the animations there are when one is missing, the
// animation that hands over to "null", the pop with nothing pushed, the images that cannot
// be decoded (added to imagesNoted).
std::vector<Diagnostic> RuntimeNotes(const DocumentTree& tree, const DocumentTree::Node& node,
                                     const std::string& text, std::set<const Bitmap*>* imagesNoted);

}  // namespace ZEL
