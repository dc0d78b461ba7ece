// The C interface: checks arguments, then hands over to the document behind the handle.
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "Embed/Document.h"
#include "Embed/Guarded.h"
#include "Embed/LastError.h"
#include "zel/zel.h"

namespace {

using ZEL::Embed::BadArgument;
using ZEL::Embed::Guarded;

constexpr uint32_t kMaxSide = 16384;  // pixels, as zelrender allows

// The engine hit-tests whole units; halves round away from zero.
int32_t NearestUnit(float v) {
    const double clamped = std::clamp(static_cast<double>(v), -2147483648.0, 2147483647.0);
    return static_cast<int32_t>(std::lround(clamped));
}

}  // namespace

extern "C" {

const char* zel_version(void) {
    return ZEL_VERSION;
}

const char* zel_last_error(void) {
    return ZEL::Embed::LastError();
}

int zel_open(const char* path, uint32_t width, uint32_t height, float dpi, uint32_t load_time_ms,
             zel_document** out) {
    if (!out) {
        return BadArgument("zel_open: out is null");
    }
    *out = nullptr;
    if (!path) {
        return BadArgument("zel_open: path is null");
    }
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) {
        return BadArgument("zel_open: width and height must be 1 to 16384 pixels");
    }
    if (!std::isfinite(dpi) || dpi <= 0) {
        return BadArgument("zel_open: dpi must be a positive number");
    }
    return Guarded([&] {
        std::unique_ptr<zel_document> doc;
        const int code = zel_document::Open(path, width, height, dpi, load_time_ms, &doc);
        *out = doc.release();
        return code;
    });
}

int zel_size(const zel_document* doc, uint32_t* width, uint32_t* height) {
    if (!doc || !width || !height) {
        return BadArgument("zel_size: doc, width and height must not be null");
    }
    *width = doc->Width();
    *height = doc->Height();
    return ZEL_OK;
}

int zel_update(zel_document* doc, uint32_t time_ms) {
    if (!doc) {
        return BadArgument("zel_update: doc is null");
    }
    return Guarded([&] { return doc->Update(time_ms); });
}

int zel_render(zel_document* doc, uint8_t* bgra, uint32_t stride) {
    if (!doc || !bgra) {
        return BadArgument("zel_render: doc and bgra must not be null");
    }
    if (stride / 4 < doc->Width()) {
        return BadArgument("zel_render: stride is less than width * 4 bytes");
    }
    return Guarded([&] { return doc->Render(bgra, stride); });
}

int zel_hit_test(zel_document* doc, float x, float y, int* hit) {
    if (!doc || !hit) {
        return BadArgument("zel_hit_test: doc and hit must not be null");
    }
    if (!std::isfinite(x) || !std::isfinite(y)) {
        return BadArgument("zel_hit_test: x and y must be finite");
    }
    return Guarded([&] {
        bool inside = false;
        const int code = doc->HitTest(NearestUnit(x), NearestUnit(y), &inside);
        if (code == ZEL_OK) {
            *hit = inside ? 1 : 0;
        }
        return code;
    });
}

int zel_get_variable(zel_document* doc, const char* name, float* value) {
    if (!doc || !name || !value) {
        return BadArgument("zel_get_variable: doc, name and value must not be null");
    }
    return Guarded([&] { return doc->ReadVariable(name, value); });
}

int zel_set_variable(zel_document* doc, const char* name, float value) {
    if (!doc || !name) {
        return BadArgument("zel_set_variable: doc and name must not be null");
    }
    return Guarded([&] { return doc->WriteVariable(name, value); });
}

int zel_play(zel_document* doc, const char* animation, uint32_t time_ms) {
    if (!doc || !animation) {
        return BadArgument("zel_play: doc and animation must not be null");
    }
    return Guarded([&] { return doc->Play(animation, time_ms); });
}

void zel_close(zel_document* doc) {
    delete doc;
}

}  // extern "C"
