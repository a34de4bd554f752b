# Web build: Debian's Emscripten (em++, clang 14) compiling to WebAssembly.
# Test programs run under node; NODE_PATH must name /usr/share/nodejs (the
# preset sets it), where Emscripten's own tools find acorn.
find_program(KW_NODE NAMES node nodejs REQUIRED)
# NOTE: programs of Emscripten 3.1.6 load their .wasm through fetch() when it
# exists, which node 18 and later have but cannot use on a file path.
set(CMAKE_CROSSCOMPILING_EMULATOR ${KW_NODE} --no-experimental-fetch)
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)
