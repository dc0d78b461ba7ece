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

// The engine's text, alone on the last line of standard error; exit code 1.
[[noreturn]] void Fail(const std::string& text);

DocumentRenderer::Settings RenderSettings(const Options& o);

}  // namespace ZEL
