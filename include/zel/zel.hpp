#pragma once
// The engine's C++ interface: GetFactory, IFactory, IScenimator and the render target they
// draw on. Include this rather than the headers below one by one.
//
// Their types have default visibility here: libzel's own objects are compiled with this file
// included first, so these types are what the library exports while everything else in it
// is hidden, and code built with -fvisibility=hidden shares their type information with it.
#pragma GCC visibility push(default)
#include "Core/IFactory.h"
#include "Gfx/RenderTarget.h"
#pragma GCC visibility pop
