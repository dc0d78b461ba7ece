#pragma once
#include <cstddef>
#include <cstdint>

// One fuzz input is up to eight files separated by the line "@@" ("\n@@\n"): file 0 is
// the document, files 1 to 7 are written as f1 ... f7 beside it, where the document can
// name them as child documents, geometry sources or images. The files go into a private
// temporary folder that becomes the working directory on the first call.
//
// Loads f0 with a fresh factory; with render, also updates it at two times, draws it onto
// a 96x96 target and hit-tests it. Returns 0 (load failures are ordinary results).
int RunLoadInput(const uint8_t* data, size_t size, bool render);
