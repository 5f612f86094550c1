# Writes a C++ source that holds a file's bytes: cmake -DIN=.. -DOUT=.. -DNAME=.. -P embed.cmake
file(READ ${IN} hex HEX)
string(LENGTH "${hex}" len)
math(EXPR size "${len} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUT} "// Generated from ${IN}; do not edit.\n#include \"assets/embedded.h\"\n\nnamespace assets {\nnamespace {\nconst unsigned char kData[] = {\n${bytes}};\n}  // namespace\nstd::span<const unsigned char> ${NAME}() { return {kData, ${size}}; }\n}  // namespace assets\n")
