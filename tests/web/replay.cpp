// web_replay [--save FILE] [--saved FILE] [--frames N] [--picture N FILE]... SCRIPT: the
// desktop's side of the browser tests. Runs the whole game on the scripted host with the
// desktop's font and JPEG decoder, sends each event of the script in its frame, and prints
// every frame's picture hash ("frame N HASH"), then the cleared stages ("cleared 1 4");
// --picture writes that frame's picture as a binary PPM. It stops after frame N, or when the
// game ends. --save starts from that cleared record; --saved copies out the one written.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "platform/event_script.h"
#include "tests/support/file_text.h"
#include "tests/support/game/game_rig.h"

namespace {

void writePpm(const std::string& path, const platform::Surface& s) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << "P6\n" << s.width() << " " << s.height() << "\n255\n";
  out.write(reinterpret_cast<const char*>(s.data()),
            static_cast<std::streamsize>(s.width()) * s.height() * 3);
  if (!out.flush()) throw std::runtime_error(path + ": cannot write");
}

int replay(int argc, char** argv) {
  std::string save, saved, scriptPath;
  int lastFrame = 0;
  std::map<int, std::string> pictures;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--save" && i + 1 < argc) {
      save = argv[++i];
    } else if (a == "--saved" && i + 1 < argc) {
      saved = argv[++i];
    } else if (a == "--frames" && i + 1 < argc) {
      lastFrame = std::atoi(argv[++i]);
    } else if (a == "--picture" && i + 2 < argc) {
      const int n = std::atoi(argv[++i]);
      pictures[n] = argv[++i];
    } else if (scriptPath.empty() && a.rfind("--", 0) != 0) {
      scriptPath = a;
    } else {
      std::fprintf(stderr,
                   "usage: web_replay [--save FILE] [--saved FILE] [--frames N] "
                   "[--picture N FILE]... SCRIPT\n");
      return 2;
    }
  }
  const std::vector<platform::ScriptEvent> script =
      platform::parseEventScript(testing_support::readFile(scriptPath));
  if (lastFrame == 0) lastFrame = script.empty() ? 1 : script.back().frame + 1;

  testing_support::GameRig run;
  run.frameLimit = static_cast<size_t>(lastFrame) + 2;  // the frame after the last stops it
  if (!save.empty())
    std::filesystem::copy_file(save, run.dir.file("clear.sav"),
                               std::filesystem::copy_options::overwrite_existing);
  size_t next = 0;
  run.onFrame = [&](int frame) {
    if (frame > lastFrame) throw testing_support::StopRun{};
    std::printf("frame %d %08x\n", frame, platform::pictureHash(*run.host.picture()));
    if (const auto it = pictures.find(frame); it != pictures.end())
      writePpm(it->second, *run.host.picture());
    for (; next < script.size() && script[next].frame <= frame; ++next)
      platform::deliverEvent(run.g, script[next]);
  };
  run.run([&] { run.g.Form_Load(); });
  if (!saved.empty())
    testing_support::writeFile(saved, testing_support::readFile(run.dir.file("clear.sav")));
  std::printf("cleared");
  // Stage n's flag is clearFlag[n - 1].
  for (int s = 1; s <= 30; ++s)
    if (run.g.clearFlag[s - 1]) std::printf(" %d", s);
  std::printf("\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return replay(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "web_replay: %s\n", e.what());
    return 1;
  }
}
