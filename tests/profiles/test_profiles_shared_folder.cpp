// Workstations sharing one folder save their profiles at the same moment:
// real processes, real files, the save the button runs.
// Linux only: workstations started with fork.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "profiles/printer_profiles.hpp"
#include "profiles/profiles_fixture.hpp"
#include "support/fakes.hpp"
#include "support/temp_folder.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

const char* const kKeys[] = {"RENGLONES POR PAGINA", "RENGLONES DEL ENCABEZADO", "RENGLONES ENTRE PAGINAS", "LPT",
                             "NUMERO DE PAGINA"};

std::string stationName(int station) { return "ESTACION " + std::to_string(station); }

// One workstation: waits for the start signal on `start`, then saves its own
// profile once. Exits 0 when the save was confirmed.
[[noreturn]] void saveOneProfile(const std::string& ini, int station, int start) {
  char go = 0;
  if (::read(start, &go, 1) < 0) _exit(3);
  FakeProfilesView view;
  FakeDialogs dialogs;
  cInifile mIni;
  mIni.Path(ini);
  PrinterProfiles profiles(view, dialogs, mIni, NumberFormat{'.', ','});
  view.list = {stationName(station)};
  view.selected = 0;
  const std::string n = std::to_string(station);
  view.fill("6" + n, "1" + n, "2" + n, n);
  view.box = CheckState::Grayed;
  profiles.saveProfile();
  const bool confirmed =
      dialogs.informed == std::vector<std::string>{"Datos de la impresora " + stationName(station) + " guardados"};
  _exit(confirmed ? 0 : 1);
}

// The keys of `station`'s profile that the file lacks or holds wrong.
std::vector<std::string> missingKeys(const std::string& ini, int station) {
  cInifile mIni;
  mIni.Path(ini);
  mIni.Section(stationName(station));
  mIni.Default("perdido");
  const std::string n = std::to_string(station);
  const std::string expected[] = {"6" + n, "1" + n, "2" + n, n, "2"};
  std::vector<std::string> missing;
  for (int i = 0; i < 5; ++i) {
    mIni.Key(kKeys[i]);
    if (mIni.Value() != expected[i]) missing.push_back(stationName(station) + "/" + kKeys[i]);
  }
  return missing;
}

// `stations` processes save at once into a folder without "Pliegomatic.ini";
// returns the keys lost.
std::vector<std::string> firstSaveRound(int stations) {
  TempFolder folder;
  const std::string ini = folder.file("Pliegomatic.ini");
  int pipeEnds[2];
  EXPECT_EQ(::pipe(pipeEnds), 0);
  std::vector<pid_t> children;
  for (int station = 1; station <= stations; ++station) {
    const pid_t child = fork();
    if (child == 0) {
      ::close(pipeEnds[1]);
      saveOneProfile(ini, station, pipeEnds[0]);
    }
    children.push_back(child);
  }
  ::close(pipeEnds[0]);
  ::close(pipeEnds[1]);  // end of file on the pipe: every workstation starts now
  std::vector<std::string> lost;
  for (const pid_t child : children) {
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save was not confirmed";
  }
  for (int station = 1; station <= stations; ++station)
    for (const auto& key : missingKeys(ini, station)) lost.push_back(key);
  return lost;
}

TEST(ProfilesSharedFolder, FirstSavesFromSeveralWorkstationsLoseNoKey) {
  for (const int stations : {2, 4}) {
    for (int round = 0; round < 15; ++round) {
      const auto lost = firstSaveRound(stations);
      ASSERT_TRUE(lost.empty()) << stations << " workstations, round " << round << ": lost " << lost.size()
                                << " keys, the first " << lost.front();
    }
  }
}

}  // namespace
#endif
