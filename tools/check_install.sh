#!/bin/bash
# The engine as others get it: installs a built tree into a temporary prefix, checks what
# lands there and what libzel.so exports, builds the examples and a C program against the
# prefix alone (through pkg-config and through CMake's find_package), draws with them, then
# builds the Debian packages and checks their files, dependencies and that their zelrender
# runs.
#
#   tools/check_install.sh BUILD_DIR
#
# BUILD_DIR must be an optimised build (not a sanitized one); it is packaged in place
# (scripts/package.sh). A missing tool skips the check with exit code 77.
set -u

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "${1:?usage: check_install.sh BUILD_DIR}" && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
PREFIX=$WORK/prefix
VERSION=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")

for tool in cmake cpack pkg-config cc c++ make nm readelf c++filt dpkg-deb dpkg-shlibdeps python3; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/deps.sh installs it)"
        exit 77
    fi
done

. "$ROOT/tools/check_lib.sh"
# Each check's output is kept and shown when it fails.
check() {  # NAME COMMAND...
    local name=$1
    shift
    if "$@" >"$WORK/last.log" 2>&1; then
        pass "$name"
    else
        fail "$name"
        sed 's/^/     /' "$WORK/last.log" | tail -n 20
    fi
}

# The red 50x50 square at (10, 10) on 100x80 that the programs below draw.
cat >"$WORK/square.scn" <<'DOC'
Scenimator{
noOfGeometries 1
box Rectangle{ x 10 y 10 w 50 h 50 hitTest 1 }
noOfBrushes 1
red SolidColorBrush{ Color{ 1 0 0 1 } opacity 1 }
noOfImages 0
noOfTransforms 0
noOfChildZels 0
noOfExecutables 1
draw Procedure{ noOfCommands 1 Fill{ box red } }
noOfControllers 0
noOfAnimations 1
MainAnim Animation{ renderFunction draw controller null transitionTarget null }
}
DOC

# png_pixel FILE X Y: prints the pixel as "R G B" (8-bit RGB or RGBA PNG).
png_pixel() {
    python3 - "$@" <<'PY'
import struct, sys, zlib
path, x, y = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
data = open(path, "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
pos, idat = 8, b""
while pos < len(data):
    length, kind = struct.unpack(">I4s", data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + length]
    if kind == b"IHDR":
        width, height, depth, colour = struct.unpack(">IIBB", body[:10])
    elif kind == b"IDAT":
        idat += body
    pos += 12 + length
assert depth == 8 and colour in (2, 6), "only 8-bit RGB or RGBA"
bpp = 3 if colour == 2 else 4
raw, stride, prev = zlib.decompress(idat), width * bpp, bytearray(width * bpp)
for row in range(y + 1):
    kind, line = raw[row * (stride + 1)], bytearray(raw[row * (stride + 1) + 1:(row + 1) * (stride + 1)])
    for i in range(stride):
        a = line[i - bpp] if i >= bpp else 0
        b, c = prev[i], prev[i - bpp] if i >= bpp else 0
        if kind == 1: line[i] = (line[i] + a) & 255
        elif kind == 2: line[i] = (line[i] + b) & 255
        elif kind == 3: line[i] = (line[i] + (a + b) // 2) & 255
        elif kind == 4:
            p = a + b - c
            pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
            line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
    prev = line
print(*prev[x * bpp:x * bpp + 3])
PY
}

echo "== install into a temporary prefix"
check "cmake --install succeeds" cmake --install "$BUILD" --prefix "$PREFIX"
for f in lib/libzel.so.$VERSION include/zel/zel.h include/zel/export.h include/zel/zel.hpp \
    include/zel/Core/IFactory.h include/zel/Core/IScenimator.h include/zel/Gfx/RenderTarget.h \
    include/zel/Gfx/Matrix.h lib/pkgconfig/zel.pc lib/cmake/Zel/ZelConfig.cmake \
    lib/cmake/Zel/ZelConfigVersion.cmake bin/zelrender share/man/man1/zelrender.1 \
    share/zel/data/vortel/postprocess.scn share/zel/data/music/duskwave.mp3 \
    share/doc/zel/format.md share/doc/zel/examples/first-animation-4.png \
    share/vim/vimfiles/syntax/scn.vim share/vim/vimfiles/ftdetect/scn.vim \
    share/gtksourceview-4/language-specs/scn.lang share/zel/editors/scn.tmLanguage.json \
    bin/zelimport share/man/man1/zelimport.1; do
    check "installs $f" test -f "$PREFIX/$f"
done
if [ -e "$BUILD/Platform/ZelPlayer" ]; then
    for f in bin/ZelPlayer bin/ZelPlayerHwnd share/man/man6/ZelPlayer.6 share/man/man6/ZelPlayerHwnd.6 \
        bin/zelview share/man/man1/zelview.1; do
        check "installs $f" test -f "$PREFIX/$f"
    done
fi
check "libzel.so.0 and libzel.so link to the library" \
    test "$(readlink "$PREFIX/lib/libzel.so")" = libzel.so.0 -a \
    "$(readlink "$PREFIX/lib/libzel.so.0")" = "libzel.so.$VERSION"
check "its SONAME is libzel.so.0" \
    bash -c "readelf -d '$PREFIX/lib/libzel.so.$VERSION' | grep -q 'SONAME.*\[libzel.so.0\]'"
check "zel.pc names the prefix installed to" grep -qx "prefix=$PREFIX" "$PREFIX/lib/pkgconfig/zel.pc"
check "no installed header includes or names Cairo, Pango or SDL" \
    bash -c "! grep -rEn '#[[:space:]]*include[[:space:]]*[<\"](cairo|pango|glib|SDL|fontconfig)|\b(cairo|pango|Pango|SDL|Fc)_|PangoLayout' '$PREFIX/include'"
while read -r header; do
    name=${header#"$PREFIX/include/"}
    check "$name compiles alone as C++ against the prefix only" \
        c++ -std=c++17 -fsyntax-only -Wall -Wextra -Werror -I"$PREFIX/include" \
        -I"$PREFIX/include/zel" -include "$header" -x c++ /dev/null
done < <(find "$PREFIX/include" -name '*.h' -o -name '*.hpp' | sort)
check "zel/zel.h compiles alone as C99" \
    cc -std=c99 -pedantic -fsyntax-only -Wall -Wextra -Werror -I"$PREFIX/include" \
    -include zel/zel.h -x c /dev/null

echo "== symbols libzel.so exports"
nm -D --defined-only "$PREFIX/lib/libzel.so.$VERSION" | awk '{print $3}' | c++filt | sort -u \
    >"$WORK/exports"
sed 's/^/     /' "$WORK/exports" | grep -v '^     Gfx::' | head -n 40
echo "     ... and $(grep -c '^Gfx::' "$WORK/exports") Gfx:: members of the classes the public headers declare"
for fn in $(grep -oE '\bzel_[a-z_]+\(' "$PREFIX/include/zel/zel.h" | tr -d '(' | sort -u); do
    check "exports $fn" grep -qx "$fn" "$WORK/exports"
done
check "exports ZEL::GetFactory() and Gfx::RenderTarget::Create" \
    bash -c "grep -qx 'ZEL::GetFactory()' '$WORK/exports' && grep -q '^Gfx::RenderTarget::Create(' '$WORK/exports'"
# Anything else must be a member of a class, or a function, that the installed headers
# define (a forward declaration is not enough).
defined_in_headers() {  # NAME
    grep -rqE "(class|struct) $1( final)?( :[^;{]*)?[[:space:]]*\{|[[:space:]&*]$1\(" \
        "$PREFIX/include/zel/Gfx"
}
: >"$WORK/strays"
while read -r symbol; do
    case $symbol in
    zel_* | "ZEL::GetFactory()") continue ;;
    "typeinfo for ZEL::IFactory" | "typeinfo name for ZEL::IFactory") continue ;;
    "typeinfo for ZEL::IScenimator" | "typeinfo name for ZEL::IScenimator") continue ;;
    *::Native::*) echo "$symbol" >>"$WORK/strays"; continue ;;
    esac
    name=$(sed -nE 's/^((typeinfo name|typeinfo|vtable) for )?Gfx::([A-Za-z_0-9]+|operator==)(::.*|\(.*)?$/\3/p' <<<"$symbol")
    if [ -z "$name" ] || ! defined_in_headers "$name"; then
        echo "$symbol" >>"$WORK/strays"
    fi
done <"$WORK/exports"
check "exports nothing else: no Cairo, Pango, engine or back-end internals" test ! -s "$WORK/strays"
sed 's/^/     stray: /' "$WORK/strays"

echo "== programs outside the repository, built against the prefix only"
cp -r "$ROOT/examples" "$WORK/examples"
# A C program that draws through the C interface and prints two pixels and a hit test.
cat >"$WORK/examples/probe.c" <<'C'
#include <stdio.h>
#include <zel/zel.h>
int main(int argc, char** argv) {
    static uint8_t pixels[100 * 80 * 4];
    zel_document* doc = NULL;
    int hit = -1;
    if (argc < 2 || zel_open(argv[1], 100, 80, 96, 0, &doc) || zel_update(doc, 0) ||
        zel_render(doc, pixels, 400) || zel_hit_test(doc, 30.4f, 30.4f, &hit)) {
        fprintf(stderr, "%s\n", zel_last_error());
        return 1;
    }
    const uint8_t* in = pixels + (20 * 100 + 20) * 4;
    const uint8_t* out = pixels + (5 * 100 + 5) * 4;
    printf("%s %d %d %d %d / %d %d %d %d / hit %d\n", zel_version(), in[0], in[1], in[2], in[3],
           out[0], out[1], out[2], out[3], hit);
    zel_close(doc);
    return 0;
}
C
mkdir -p "$WORK/probe-cmake"
cat >"$WORK/probe-cmake/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.16)
project(probe LANGUAGES C)
find_package(Zel $VERSION EXACT REQUIRED)
add_executable(probe $WORK/examples/probe.c)
target_link_libraries(probe PRIVATE Zel::zel)
CMAKE
PROBE_EXPECTED="$VERSION 0 0 255 255 / 255 255 255 255 / hit 1"
export PKG_CONFIG_PATH=$PREFIX/lib/pkgconfig
check "pkg-config finds zel $VERSION" test "$(pkg-config --modversion zel)" = "$VERSION"
# -fvisibility=hidden: an embedding library's usual flags must not break the C++ interface.
check "make builds the examples with pkg-config" \
    make -C "$WORK/examples" CXXFLAGS="-O2 -Wall -Wextra -fvisibility=hidden" sdl_embed render_png
check "cc builds the C probe with pkg-config" \
    bash -c "cc -O2 -o '$WORK/probe' '$WORK/examples/probe.c' \$(pkg-config --cflags --libs zel)"
for example in sdl_embed render_png; do
    check "find_package(Zel) builds $example" bash -c "
        cmake -S '$WORK/examples/cmake/$example' -B '$WORK/cmake-$example' \
            -DCMAKE_PREFIX_PATH='$PREFIX' && cmake --build '$WORK/cmake-$example'"
done
check "find_package(Zel $VERSION EXACT) builds the C probe" bash -c "
    cmake -S '$WORK/probe-cmake' -B '$WORK/cmake-probe' -DCMAKE_PREFIX_PATH='$PREFIX' &&
    cmake --build '$WORK/cmake-probe'"

cd "$WORK"
check "the C probe (pkg-config) draws the square" \
    test "$(LD_LIBRARY_PATH=$PREFIX/lib ./probe square.scn)" = "$PROBE_EXPECTED"
# The CMake build finds the library through its run path, without LD_LIBRARY_PATH.
check "the C probe (find_package) draws the square" \
    test "$(./cmake-probe/probe square.scn)" = "$PROBE_EXPECTED"
check "the C probe reports the engine's error text" \
    bash -c "! LD_LIBRARY_PATH=$PREFIX/lib ./probe missing.scn 2>err.txt &&
             grep -qx 'Parse Error::: : 0 : could not open the file \"missing.scn\"' err.txt"
check "render_png (pkg-config) writes the frame" \
    env LD_LIBRARY_PATH="$PREFIX/lib" examples/render_png square.scn square.png 0 100 80
check "render_png (find_package) writes the same frame" \
    bash -c "./cmake-render_png/render_png square.scn square2.png 0 100 80 && cmp square.png square2.png"
check "the PNG is red inside the square" test "$(png_pixel square.png 20 20)" = "255 0 0"
check "the PNG is white outside it" test "$(png_pixel square.png 5 5)" = "255 255 255"
if command -v xvfb-run >/dev/null; then
    check "sdl_embed plays a second under Xvfb" \
        env LD_LIBRARY_PATH="$PREFIX/lib" SDL_AUDIODRIVER=dummy timeout 60 \
        xvfb-run -a examples/sdl_embed square.scn 1
fi
cd - >/dev/null

echo "== Debian packages"
if ! ZEL_JOBS=${ZEL_JOBS:-1} "$ROOT/scripts/package.sh" "$BUILD" >"$WORK/package.log" 2>&1; then
    fail "scripts/package.sh builds the packages"
    tail -n 30 "$WORK/package.log"
else
    pass "scripts/package.sh builds the packages"
    PKG=$BUILD/packages
    LIB=$PKG/libzel0_${VERSION}_amd64.deb
    DEV=$PKG/libzel-dev_${VERSION}_amd64.deb
    TOOLS=$PKG/zel-tools_${VERSION}_amd64.deb
    for deb in "$LIB" "$DEV" "$TOOLS"; do
        echo "-- $(basename "$deb")"
        dpkg-deb -c "$deb" | awk '{print "     " $6 ($7 ? " " $7 " " $8 : "")}' | grep -v '/share/zel/data/.*/.'
        echo "     Depends: $(dpkg-deb -f "$deb" Depends)"
    done
    contents() { dpkg-deb -c "$1" | awk '{print $6}' | sed 's|^\./|/|'; }
    check "libzel0 holds the library and nothing else" \
        test "$(contents "$LIB" | grep -v '/$' | tr '\n' ' ')" = \
        "/usr/lib/libzel.so.0 /usr/lib/libzel.so.$VERSION "
    check "libzel0 depends on Cairo and Pango (dpkg-shlibdeps)" \
        bash -c "dpkg-deb -f '$LIB' Depends | grep -q 'libcairo2' && dpkg-deb -f '$LIB' Depends | grep -q 'libpango-1.0-0'"
    check "libzel0 has a shlibs file for libzel.so.0" \
        bash -c "dpkg-deb -I '$LIB' shlibs | grep -qx 'libzel 0 libzel0 (= $VERSION)'"
    for f in /usr/include/zel/zel.h /usr/include/zel/zel.hpp /usr/lib/libzel.so \
        /usr/lib/pkgconfig/zel.pc /usr/lib/cmake/Zel/ZelConfig.cmake; do
        check "libzel-dev holds $f" bash -c "dpkg-deb -c '$DEV' | awk '{print \$6}' | grep -qx '.$f'"
    done
    for deb in "$DEV" "$TOOLS"; do
        check "$(basename "$deb") depends on libzel0 (= $VERSION)" \
            bash -c "dpkg-deb -f '$deb' Depends | grep -qF 'libzel0 (= $VERSION)'"
    done
    for f in /usr/bin/zelrender /usr/share/man/man1/zelrender.1 /usr/share/zel/data/vortel/postprocess.scn \
        /usr/share/doc/zel/format.md /usr/share/vim/vimfiles/syntax/scn.vim \
        /usr/share/gtksourceview-4/language-specs/scn.lang /usr/bin/zelimport \
        /usr/share/man/man1/zelimport.1; do
        check "zel-tools holds $f" bash -c "dpkg-deb -c '$TOOLS' | awk '{print \$6}' | grep -qx '.$f'"
    done
    check "zel-tools depends on SDL2 (dpkg-shlibdeps)" \
        bash -c "dpkg-deb -f '$TOOLS' Depends | grep -q 'libsdl2-2.0-0'"
    mkdir -p "$WORK/root"
    for deb in "$LIB" "$TOOLS"; do dpkg-deb -x "$deb" "$WORK/root"; done
    ZR=$WORK/root/usr/bin/zelrender
    check "the packaged zelrender --help runs" bash -c "'$ZR' --help | grep -q '^usage: zelrender'"
    check "the packaged zelrender --version says $VERSION" test "$("$ZR" --version)" = "zelrender $VERSION"
    check "the packaged zelrender draws the packaged show" \
        bash -c "cd '$WORK/root/usr/share/zel' && '$ZR' --size 80x60 --at 0,30000 data/vortel/postprocess.scn"
    check "every option of zelrender --help is in its manual page" bash -c "
        for option in \$('$ZR' --help | grep -oE -- '--[a-z-]+' | sort -u); do
            sed 's/\\\\-/-/g' '$ROOT/docs/man/zelrender.1' | grep -q -- \"\$option\" || { echo \"missing \$option\"; exit 1; }
        done"
    ZI=$WORK/root/usr/bin/zelimport
    check "the packaged zelimport --version says $VERSION" test "$("$ZI" --version)" = "zelimport $VERSION"
    check "the packaged zelimport imports an SVG that the packaged zelrender draws" bash -c "
        printf '%s' \"<svg xmlns='http://www.w3.org/2000/svg' width='100' height='80'><rect x='10' y='10' width='50' height='50' fill='red'/></svg>\" >'$WORK/square.svg' &&
        '$ZI' -o '$WORK/imported.scn' '$WORK/square.svg' &&
        '$ZR' --size 100x80 --out '$WORK/imported.png' '$WORK/imported.scn'"
    check "the imported square is red" test "$(png_pixel "$WORK/imported.png" 20 20)" = "255 0 0"
    check "every option of zelimport --help is in its manual page" bash -c "
        for option in \$('$ZI' --help | grep -oE -- '--[a-z-]+' | sort -u); do
            sed 's/\\\\-/-/g' '$ROOT/docs/man/zelimport.1' | grep -q -- \"\$option\" || { echo \"missing \$option\"; exit 1; }
        done"
    if command -v apt-get >/dev/null; then
        check "apt-get would install the three packages" \
            apt-get install --simulate "$LIB" "$DEV" "$TOOLS"
    fi
fi

if [ "$FAILURES" -ne 0 ]; then
    echo "$FAILURES check(s) failed"
    exit 1
fi
echo "all install checks passed"
