#pragma once
#include <vector>

#include "Check/Diagnostic.h"
#include "Check/DocumentTree.h"

namespace ZEL {

// What is most likely a mistake in the documents of a load, though they load and play.
// Each appends its warnings; those that explain a text the engine would leave in a
// document's error text at run time add it to explained.

// Names declared and never used.
void LintNames(const DocumentTree& tree, std::vector<Diagnostic>* out);
// Variables read and never written, written and never read, and writes into child
// documents that the child never reads.
void LintVariables(const DocumentTree& tree, std::vector<Diagnostic>* out,
                   ExplainedTexts* explained);
// Animations nothing plays, hand-overs and triggers to missing animations, controllers
// whose window never opens.
void LintAnimations(const DocumentTree& tree, std::vector<Diagnostic>* out,
                    ExplainedTexts* explained);
// Procedures whose pushes and pops do not balance, and geometries marked for hit testing
// drawn under a transform the hit test does not know.
void LintTransforms(const DocumentTree& tree, std::vector<Diagnostic>* out);

}  // namespace ZEL
