#include <cstdlib>

// Fontconfig reads FONTCONFIG_FILE once, at Pango's first call, which comes after
// static initialisation: every machine then sees the same fonts and aliases.
namespace {
const bool kFontConfigSet = [] {
    setenv("FONTCONFIG_FILE", ZEL_TEST_DATA "/fonts/fonts.conf", 1);
    return true;
}();
}  // namespace
