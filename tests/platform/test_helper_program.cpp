// A small Windows program that the platform tests start.
//   espera MS          waits MS milliseconds (a slow copy to the printer);
//   hasta ARCHIVO      waits until the file ARCHIVO exists, five minutes at
//                      most, then removes it to tell that it ended (a copy
//                      that prints until the test ends it);
//   bloqueo LCK        another workstation: exit code 0 when it gets the lock
//                      on LCK at once, 1 when it is busy;
//   carpeta SALIDA     writes the program's folder and the TXT files listed
//                      there into SALIDA, one per line;
//   anything else      stands for a planted cmd.exe or notepad.exe: writes
//                      its command line into PLANTADO.TXT in the current folder.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "platform/file_lock.hpp"
#include "platform/files.hpp"

using namespace pliego;

namespace {

int writeLines(const std::string& path, const std::string& text) {
  std::FILE* out = openFile(path, "wb");
  if (!out) return 2;
  std::fwrite(text.data(), 1, text.size(), out);
  return std::fclose(out) == 0 ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "espera" && argc > 2) {
    std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(argv[2])));
    return 0;
  }
  if (mode == "hasta" && argc > 2) {
    for (int step = 0; step < 6000 && GetFileAttributesA(argv[2]) == INVALID_FILE_ATTRIBUTES; ++step)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    DeleteFileA(argv[2]);
    return 0;
  }
  if (mode == "bloqueo" && argc > 2) {
    FileLock lock;
    return !lock.acquire(argv[2], std::chrono::milliseconds(0)) ? 0 : 1;
  }
  if (mode == "carpeta" && argc > 2) {
    const std::string folder = executableFolder();
    std::string text = folder + "\n";
    std::vector<std::string> names;
    if (listFilesWithExtension(folder, ".TXT", names)) return 1;
    for (const auto& name : names) text += name + "\n";
    return writeLines(argv[2], text);
  }
  return writeLines("PLANTADO.TXT", GetCommandLineA());
}
