#pragma once
#include <string>

#include "Export/DocumentRenderer.h"
#include "Options.h"

namespace ZEL {

// Each returns the exit code; engine errors end the process through Fail.
int RunFrames(const Options& o, DocumentRenderer& renderer);  // --at or a timeline
int RunBench(const Options& o, DocumentRenderer& renderer);
int RunSoak(const Options& o, DocumentRenderer& renderer);
int RunExport(const Options& o);
// --check: 0 clean, 1 on an error, 3 on warnings with --strict.
int RunCheck(const Options& o);

// The default end of a timeline: where the document's animations end (see
// AnimationChainEnd), just before the frame that fails when the last one hands over to
// "null"; the players' 154000 when they never end or the document does not load.
uint32_t EndOfAnimations(const Options& o);

// The engine's text, alone on the last line of standard error; exit code 1.
[[noreturn]] void Fail(const std::string& text);

DocumentRenderer::Settings RenderSettings(const Options& o);

}  // namespace ZEL
