// Writes the game's sprite sheet and the editor's palette image: make_sheet CHR.bmp MAP_C.bmp
#include <cstdio>
#include <exception>
#include <fstream>

#include "platform/bmp.h"
#include "tools/make_sheet/parts.h"

namespace {

void writeFile(const char* path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error(std::string("cannot write ") + path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_sheet CHR.bmp MAP_C.bmp\n");
    return 2;
  }
  try {
    writeFile(argv[1], sheet::encodeSheet(sheet::buildSheet()));
    writeFile(argv[2], platform::encodeBmp24(sheet::buildPalette()));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_sheet: %s\n", e.what());
    return 1;
  }
  return 0;
}
