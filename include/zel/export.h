#ifndef ZEL_EXPORT_H
#define ZEL_EXPORT_H

/* Marks what libzel exports; the library is built with hidden visibility, so anything
   without it stays internal. */
#if defined(__GNUC__) || defined(__clang__)
#define ZEL_API __attribute__((visibility("default")))
#else
#define ZEL_API
#endif

#endif
