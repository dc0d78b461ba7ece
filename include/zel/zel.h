#ifndef ZEL_ZEL_H
#define ZEL_ZEL_H

/* The engine's C interface: open a document, update it with a millisecond clock, render
   it into your own pixel buffer.

   Every function that returns int returns 0 on success and otherwise one of the codes
   below; after a failure zel_last_error() gives the reason. Nothing throws out of this
   interface. Handles are independent: different handles may be used on different threads
   at the same time; one handle must not be used by two threads at once. */

#include <stdint.h>

#include "export.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Result codes. 1 to 4 are the engine's own and keep their values. */
enum zel_result {
    ZEL_OK = 0,
    ZEL_LOGIC_ERROR = 1,   /* the document does not read: every parse error */
    ZEL_OUT_OF_MEMORY = 2, /* memory or a size limit ran out */
    ZEL_NOT_FOUND = 3,     /* no variable or animation of that name */
    ZEL_RUNTIME_ERROR = 4, /* a failure while updating or drawing */
    ZEL_BAD_ARGUMENT = 5   /* a null or unusable argument; the handle was not touched */
};

typedef struct zel_document zel_document;

/* The library's version, "MAJOR.MINOR.PATCH". */
ZEL_API const char* zel_version(void);

/* Loads the document at path onto a new width x height target (1 to 16384 pixels a side)
   at dpi dots per inch (96: one pixel per unit), with load_time_ms as its start time.
   On success *out is a new handle for zel_close; on failure it is left null. */
ZEL_API int zel_open(const char* path, uint32_t width, uint32_t height, float dpi,
                     uint32_t load_time_ms, zel_document** out);

/* The exact error text of this thread's last failed call, "" when none has failed yet.
   Successful calls leave it alone; the pointer is valid until this thread's next failure. */
ZEL_API const char* zel_last_error(void);

/* The target's size in pixels, as given to zel_open. */
ZEL_API int zel_size(const zel_document* doc, uint32_t* width, uint32_t* height);

/* Runs the animations up to time_ms, a raw 32-bit millisecond tick (it may wrap). */
ZEL_API int zel_update(zel_document* doc, uint32_t time_ms);

/* Draws the current frame, on opaque white as the players do, and copies it into bgra:
   height rows of width premultiplied blue-green-red-alpha pixels, each row stride bytes
   apart (at least width * 4). On failure the buffer is left as it was. */
ZEL_API int zel_render(zel_document* doc, uint8_t* bgra, uint32_t stride);

/* *hit = 1 when the point (x, y), in document units (pixels at 96 dpi), lies inside a
   geometry marked "hitTest 1" as the document now stands, else 0. The engine tests whole
   units: x and y are rounded to the nearest integer first, halves away from zero. */
ZEL_API int zel_hit_test(zel_document* doc, float x, float y, int* hit);

/* Reads or writes a variable by its full name, "$" included ("$x"). A written value is
   what the next render draws with, unless a controller writes the variable first. */
ZEL_API int zel_get_variable(zel_document* doc, const char* name, float* value);
ZEL_API int zel_set_variable(zel_document* doc, const char* name, float value);

/* Makes the named animation the current one, starting at time_ms. */
ZEL_API int zel_play(zel_document* doc, const char* animation, uint32_t time_ms);

/* Frees the handle and everything it holds; a null handle is ignored. */
ZEL_API void zel_close(zel_document* doc);

#ifdef __cplusplus
}
#endif

#endif
