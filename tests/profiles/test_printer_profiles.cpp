// The printer-profile procedures on a real "Pliegomatic.ini" in a temporary
// folder, with a plain window and scripted message boxes.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "common/code_page.hpp"
#include "profiles/profiles_fixture.hpp"
#include "profiles/printer_profiles.hpp"
#ifndef _WIN32
#include "settings/file_size_limit.hpp"
#endif
#include "support/fakes.hpp"
#include "support/temp_folder.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

const std::string kTwoProfiles =
    "[EPSON 12 PULGADAS]\r\n"
    "RENGLONES POR PAGINA=72\r\n"
    "RENGLONES DEL ENCABEZADO=4\r\n"
    "RENGLONES ENTRE PAGINAS=2\r\n"
    "LPT=1\r\n"
    "NUMERO DE PAGINA=0\r\n"
    "[Oficina]\r\n"
    "renglones por pagina= 66 \r\n"
    "Renglones Del Encabezado=5\r\n"
    "RENGLONES ENTRE PAGINAS=0\r\n"
    "LPT=2\r\n"
    "NUMERO DE PAGINA=2\r\n"
    "COMENTARIO=no tocar\r\n";

class PrinterProfilesTest : public ::testing::Test {
 protected:
  TempFolder dir;
  FakeProfilesView view;
  FakeDialogs dialogs;
  cInifile mIni;
  PrinterProfiles profiles{view, dialogs, mIni, NumberFormat{'.', ','}};

  void SetUp() override { mIni.Path(dir.file("Pliegomatic.ini")); }
  std::string ini() const { return dir.read("Pliegomatic.ini"); }
  void startWith(const std::string& bytes) {
    dir.write("Pliegomatic.ini", bytes);
    profiles.CargarImpresoras();
  }
  void select(int index) {
    view.selected = index;
    profiles.selectProfile();
  }
};

TEST_F(PrinterProfilesTest, ListsTheSectionsInFileOrderWithTheirOwnCase) {
  view.list = {"VIEJA"};
  view.selected = 0;
  view.fill("1", "2", "3", "4");
  startWith(kTwoProfiles + "\r\n[Deposito]\r\nLPT=3\r\n");
  EXPECT_EQ(view.list, (std::vector<std::string>{"EPSON 12 PULGADAS", "Oficina", "Deposito"}));
  EXPECT_EQ(view.selected, -1);
  EXPECT_EQ(view.shownFields(), (std::vector<std::string>{"1", "2", "3", "4"}));
}

TEST_F(PrinterProfilesTest, NoFileOrNoSectionGivesAnEmptyList) {
  for (const char* content : {static_cast<const char*>(nullptr), "", "; solo un comentario\r\nLPT=1\r\n"}) {
    view.list = {"VIEJA"};
    if (content) dir.write("Pliegomatic.ini", content);
    profiles.CargarImpresoras();
    EXPECT_TRUE(view.list.empty()) << (content ? content : "no file");
  }
}

TEST_F(PrinterProfilesTest, SelectingCopiesTheStoredTextsAndChecksTheBox) {
  startWith(kTwoProfiles);
  select(0);
  EXPECT_EQ(view.shownFields(), (std::vector<std::string>{"72", "4", "2", "1"}));
  EXPECT_EQ(view.box, CheckState::Checked) << "stored 0, still checked after the selection";

  // Mixed case on disk: looked up as OFICINA, keys matched whatever their case.
  select(1);
  EXPECT_EQ(view.shownFields(), (std::vector<std::string>{"66", "5", "0", "2"}));
  EXPECT_EQ(view.box, CheckState::Checked) << "stored 2, still checked after the selection";
}

TEST_F(PrinterProfilesTest, LoadingAloneSetsTheBoxFromTheStoredNumber) {
  struct Case {
    std::string stored;
    CheckState state;
  };
  const Case cases[] = {{"0", CheckState::Unchecked}, {"1", CheckState::Checked},  {"2", CheckState::Grayed},
                        {"", CheckState::Unchecked},  {"0.5", CheckState::Unchecked}, {"1.5", CheckState::Grayed},
                        {"2.5", CheckState::Grayed},  {" 1 si", CheckState::Checked}, {"7", CheckState::Checked},
                        {"-1", CheckState::Checked},  {"no", CheckState::Unchecked}};
  for (const auto& c : cases) {
    dir.write("Pliegomatic.ini", "[P]\r\nNUMERO DE PAGINA=" + c.stored + "\r\n");
    profiles.CargarImpresoras();
    view.selected = 0;
    view.box = CheckState::Checked;
    profiles.CargarConfiguracion();
    EXPECT_EQ(view.box, c.state) << "stored \"" << c.stored << "\"";
  }
}

TEST_F(PrinterProfilesTest, AddingAppendsTheUpperCasedNameAndLeavesFileAndSelectionAlone) {
  startWith(kTwoProfiles);
  select(1);
  dialogs.answer = "oficina 2";
  profiles.addProfile();
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].prompt, "Ingrese el nombre de la nueva impresora");
  EXPECT_EQ(dialogs.asked[0].title, "Agregar Impresora");
  EXPECT_EQ(dialogs.asked[0].defaultAnswer, "");
  EXPECT_EQ(view.list, (std::vector<std::string>{"EPSON 12 PULGADAS", "Oficina", "OFICINA 2"}));
  EXPECT_EQ(view.selected, 1);
  EXPECT_EQ(ini(), kTwoProfiles);

  // The earlier selection is what "Guardar Impresora" saves under.
  profiles.saveProfile();
  EXPECT_EQ(dialogs.informed.back(), "Datos de la impresora Oficina guardados");
  EXPECT_EQ(ini().find("[OFICINA 2]"), std::string::npos);
}

TEST_F(PrinterProfilesTest, AnEmptyAnswerAddsNothing) {
  startWith(kTwoProfiles);
  dialogs.answer = "";
  profiles.addProfile();
  EXPECT_EQ(view.list.size(), 2u);
  EXPECT_TRUE(dialogs.informed.empty());
}

TEST_F(PrinterProfilesTest, ADuplicateNameIsListedTwiceAndSharesOneSection) {
  startWith(kTwoProfiles);
  dialogs.answer = "epson 12 pulgadas";
  profiles.addProfile();
  ASSERT_EQ(view.list, (std::vector<std::string>{"EPSON 12 PULGADAS", "Oficina", "EPSON 12 PULGADAS"}));

  select(2);
  EXPECT_EQ(view.shownFields(), (std::vector<std::string>{"72", "4", "2", "1"}));
  view.fill("80", "4", "2", "1");
  profiles.saveProfile();
  select(0);
  EXPECT_EQ(view.fieldText(ProfileField::LinesPerPage), "80");

  profiles.CargarImpresoras();
  EXPECT_EQ(view.list, (std::vector<std::string>{"EPSON 12 PULGADAS", "Oficina"}));
}

TEST_F(PrinterProfilesTest, SelectingAnUnsavedNameEmptiesTheFieldsAndChecksTheBox) {
  startWith(kTwoProfiles);
  select(0);
  dialogs.answer = "nueva";
  profiles.addProfile();
  view.box = CheckState::Unchecked;
  select(2);
  EXPECT_EQ(view.shownFields(), (std::vector<std::string>{"", "", "", ""}));
  EXPECT_EQ(view.box, CheckState::Checked);
}

TEST_F(PrinterProfilesTest, SavingANewProfileWritesTheNumbersInKeyOrder) {
  view.list = {"NUEVA"};
  view.selected = 0;
  view.fill("72", "", "3 lineas", "1");
  view.box = CheckState::Unchecked;
  profiles.saveProfile();
  EXPECT_EQ(ini(),
            "[NUEVA]\r\n"
            "RENGLONES POR PAGINA=72\r\n"
            "RENGLONES DEL ENCABEZADO=0\r\n"
            "RENGLONES ENTRE PAGINAS=3\r\n"
            "LPT=1\r\n"
            "NUMERO DE PAGINA=0\r\n");
  EXPECT_EQ(dialogs.informed, (std::vector<std::string>{"Datos de la impresora NUEVA guardados"}));

  // Saved unchecked, shown checked when selected again.
  profiles.CargarImpresoras();
  select(0);
  EXPECT_EQ(view.box, CheckState::Checked);
}

TEST_F(PrinterProfilesTest, SavedNumbersAreLeadingNumbersInTheUsersFormat) {
  struct Case {
    std::string typed;
    NumberFormat format;
    std::string stored;
  };
  const Case cases[] = {{" 66 renglones", {'.', ','}, "66"}, {"-1", {'.', ','}, "-1"},
                        {"2.5", {'.', ','}, "2.5"},          {"2.5", {',', '.'}, "2,5"},
                        {"2,5", {',', '.'}, "2"},            {"abc", {'.', ','}, "0"}};
  for (const auto& c : cases) {
    PrinterProfiles local{view, dialogs, mIni, c.format};
    view.list = {"P"};
    view.selected = 0;
    view.fill(c.typed, "5", "0", "1");
    view.box = CheckState::Grayed;
    local.saveProfile();
    mIni.Section("P");
    mIni.Key("RENGLONES POR PAGINA");
    EXPECT_EQ(mIni.Value(), c.stored) << "typed \"" << c.typed << "\"";
    mIni.Key("NUMERO DE PAGINA");
    EXPECT_EQ(mIni.Value(), "2");
  }
}

TEST_F(PrinterProfilesTest, SavingIntoAMixedCaseSectionKeepsItAndItsOtherKeys) {
  startWith(kTwoProfiles);
  select(1);
  view.fill("70", "5", "1", "2");
  profiles.saveProfile();
  const std::string saved = ini();
  EXPECT_EQ(saved.find("[OFICINA]"), std::string::npos) << saved;
  EXPECT_EQ(saved.find("[Oficina]"), kTwoProfiles.find("[Oficina]")) << saved;
  profiles.CargarImpresoras();
  EXPECT_EQ(view.list, (std::vector<std::string>{"EPSON 12 PULGADAS", "Oficina"}));
  mIni.Section("OFICINA");
  const std::pair<const char*, const char*> expected[] = {
      {"RENGLONES POR PAGINA", "70"}, {"RENGLONES ENTRE PAGINAS", "1"}, {"NUMERO DE PAGINA", "1"},
      {"COMENTARIO", "no tocar"}};
  for (const auto& [key, value] : expected) {
    mIni.Key(key);
    EXPECT_EQ(mIni.Value(), value) << key;
  }
  EXPECT_EQ(dialogs.informed.back(), "Datos de la impresora Oficina guardados");
}

TEST_F(PrinterProfilesTest, SavingWithoutANameDoesNothing) {
  for (const std::string name : {"", "   "}) {
    view.list = {name};
    view.selected = name.empty() ? -1 : 0;
    view.fill("72", "5", "0", "1");
    profiles.saveProfile();
    EXPECT_FALSE(dir.exists("Pliegomatic.ini"));
    EXPECT_TRUE(dialogs.informed.empty());
  }
}

TEST_F(PrinterProfilesTest, RemovingAfterYesDropsTheSectionAndRefills) {
  startWith(kTwoProfiles);
  select(1);
  profiles.removeProfile();
  EXPECT_EQ(dialogs.confirmed,
            (std::vector<std::string>{cp1252ToSystem("\xBF Seguro quiere quitar la configuracion de la impresora Oficina ?")}));
  EXPECT_EQ(ini(), kTwoProfiles.substr(0, kTwoProfiles.find("[Oficina]")));
  EXPECT_EQ(view.list, (std::vector<std::string>{"EPSON 12 PULGADAS"}));
  EXPECT_EQ(view.selected, -1);
  EXPECT_EQ(view.shownFields(), (std::vector<std::string>{"66", "5", "0", "2"}));
}

TEST_F(PrinterProfilesTest, RemovingAfterNoChangesNothing) {
  startWith(kTwoProfiles);
  select(0);
  dialogs.answerYes = false;
  profiles.removeProfile();
  EXPECT_EQ(dialogs.confirmed.size(), 1u);
  EXPECT_EQ(ini(), kTwoProfiles);
  EXPECT_EQ(view.list.size(), 2u);
  EXPECT_EQ(view.selected, 0);
}

TEST_F(PrinterProfilesTest, RemovingWithNothingSelectedAsksAboutAnEmptyNameAndRefills) {
  // The lines before the first section survive too.
  startWith("; perfiles de la oficina\r\nLPT=9\r\n" + kTwoProfiles);
  view.list.push_back("NO GUARDADA");
  profiles.removeProfile();
  EXPECT_EQ(dialogs.confirmed,
            (std::vector<std::string>{cp1252ToSystem("\xBF Seguro quiere quitar la configuracion de la impresora  ?")}));
  EXPECT_EQ(ini(), "; perfiles de la oficina\r\nLPT=9\r\n" + kTwoProfiles);
  EXPECT_EQ(view.list, (std::vector<std::string>{"EPSON 12 PULGADAS", "Oficina"}));
}

TEST_F(PrinterProfilesTest, ASaveTheFileRefusesIsToldNotConfirmed) {
  mIni.Path(dir.file("no-existe/Pliegomatic.ini"));
  view.list = {"OFICINA"};
  view.selected = 0;
  view.fill("72", "5", "0", "1");
  profiles.saveProfile();
  ASSERT_EQ(dialogs.informed.size(), 1u);
  EXPECT_EQ(dialogs.informed[0].find("Datos de la impresora"), std::string::npos);
  EXPECT_NE(dialogs.informed[0].find("OFICINA"), std::string::npos);
  EXPECT_NE(dialogs.informed[0].find("no-existe/Pliegomatic.ini"), std::string::npos);
}

#ifndef _WIN32  // file-size limits are a Linux tool
// A disk that fills up during the save: the profile is saved whole or not at
// all, never with some of its keys.
TEST_F(PrinterProfilesTest, ASaveCutShortByAFullDiskLeavesTheFileAsItWas) {
  const std::string before = "[COMUN]\r\nRELLENO=" + std::string(3000, 'x') + "\r\n";
  dir.write("Pliegomatic.ini", before);
  view.list = {"NUEVA"};
  view.selected = 0;
  view.fill("72", "5", "0", "1");
  // Room for the header and the first two keys, not for the whole profile.
  const std::size_t room = before.size() + std::string("[NUEVA]\r\nRENGLONES POR PAGINA=72\r\n").size() +
                           std::string("RENGLONES DEL ENCABEZADO=5\r\n").size() + 5;
  {
    const FileSizeLimit limit(room);
    profiles.saveProfile();
  }
  const std::string after = ini();
  EXPECT_TRUE(after == before) << "changed, now ending in: " << after.substr(std::min(after.size(), before.size()));
  ASSERT_EQ(dialogs.informed.size(), 1u);
  EXPECT_EQ(dialogs.informed[0].rfind("No se pudieron guardar los datos de la impresora NUEVA", 0), 0u)
      << dialogs.informed[0];

  // With room again, the same save stores all five keys.
  profiles.saveProfile();
  EXPECT_EQ(ini(), before + "[NUEVA]\r\nRENGLONES POR PAGINA=72\r\nRENGLONES DEL ENCABEZADO=5\r\n"
                            "RENGLONES ENTRE PAGINAS=0\r\nLPT=1\r\nNUMERO DE PAGINA=0\r\n");
  EXPECT_EQ(dialogs.informed.back(), "Datos de la impresora NUEVA guardados");
}
#endif


// Where each key is a write of its own (the platform's functions), the user
// learns which keys did not reach the file.
TEST(SaveFailureMessage, NamesTheKeysNotSavedUnlessNoneWas) {
  const std::string advice =
      " Verifique que el archivo no sea de solo lectura y que la unidad de red este disponible.";
  EXPECT_EQ(saveFailureMessage("EPSON", "F:\\Pliegomatic.ini", {"LPT", "NUMERO DE PAGINA"}, 5),
            "No se pudieron guardar en F:\\Pliegomatic.ini estos datos de la impresora EPSON: LPT y NUMERO DE "
            "PAGINA. Los demas datos quedaron guardados." + advice);
  EXPECT_EQ(saveFailureMessage("EPSON", "F:\\Pliegomatic.ini",
                               {"RENGLONES DEL ENCABEZADO", "RENGLONES ENTRE PAGINAS", "LPT"}, 5),
            "No se pudieron guardar en F:\\Pliegomatic.ini estos datos de la impresora EPSON: RENGLONES DEL "
            "ENCABEZADO, RENGLONES ENTRE PAGINAS y LPT. Los demas datos quedaron guardados." + advice);
  EXPECT_EQ(saveFailureMessage("EPSON", "/srv/Pliegomatic.ini", {"A", "B"}, 2),
            "No se pudieron guardar los datos de la impresora EPSON en /srv/Pliegomatic.ini." + advice);
}

TEST_F(PrinterProfilesTest, ALineBreakInTheNameSavesNothing) {
  dir.write("Pliegomatic.ini", "[A]\r\nLPT=1\r\n");
  view.list = {"B]\r\n[A"};
  view.selected = 0;
  view.fill("72", "5", "0", "1");
  profiles.saveProfile();
  EXPECT_EQ(ini(), "[A]\r\nLPT=1\r\n");
  ASSERT_EQ(dialogs.informed.size(), 1u);
  EXPECT_EQ(dialogs.informed[0].rfind("No se pudieron guardar los datos de la impresora", 0), 0u);
}

#ifndef _WIN32  // file-size limits are a Linux tool
// A removal that the file refuses is told, and the list still shows what the
// file holds.
TEST_F(PrinterProfilesTest, ARemovalTheFileRefusesIsTold) {
  const std::string before = "[GRANDE]\r\nRELLENO=" + std::string(3000, 'x') + "\r\n" + kTwoProfiles;
  startWith(before);
  select(2);
  {
    const FileSizeLimit limit(1000);  // the rewritten file does not fit: a full disk
    profiles.removeProfile();
  }
  EXPECT_TRUE(ini() == before);
  EXPECT_EQ(view.list, (std::vector<std::string>{"GRANDE", "EPSON 12 PULGADAS", "Oficina"}));
  ASSERT_EQ(dialogs.informed.size(), 1u);
  EXPECT_EQ(dialogs.informed[0], "No se pudo quitar la impresora Oficina de " + dir.file("Pliegomatic.ini") +
                                     ". Verifique que el archivo no sea de solo lectura y que la unidad de red "
                                     "este disponible.");
}
#endif

TEST_F(PrinterProfilesTest, ARemovalFromAnUnreadableFileIsTold) {
  std::filesystem::create_directory(dir.file("Pliegomatic.ini"));  // where the file should be
  view.list = {"OFICINA"};
  view.selected = 0;
  profiles.removeProfile();
  ASSERT_EQ(dialogs.informed.size(), 1u);
  EXPECT_EQ(dialogs.informed[0].rfind("No se pudo quitar la impresora OFICINA de ", 0), 0u);
  EXPECT_TRUE(view.list.empty());
}

TEST_F(PrinterProfilesTest, RemovingWhatTheFileDoesNotHoldIsNoFailure) {
  view.list = {"NUEVA"};
  view.selected = 0;
  profiles.removeProfile();
  EXPECT_TRUE(dialogs.informed.empty());
  EXPECT_FALSE(dir.exists("Pliegomatic.ini"));
}

TEST_F(PrinterProfilesTest, OnlyAFileThatIsThereAndCannotBeReadIsTold) {
  profiles.tellIfUnreadable();  // no file: no profiles yet, nothing to tell
  dir.write("Pliegomatic.ini", kTwoProfiles);
  profiles.tellIfUnreadable();
  EXPECT_TRUE(dialogs.informed.empty());

  std::filesystem::remove(dir.file("Pliegomatic.ini"));
  std::filesystem::create_directory(dir.file("Pliegomatic.ini"));
  profiles.tellIfUnreadable();
  EXPECT_EQ(dialogs.informed, (std::vector<std::string>{
                                  "No se pudo leer el archivo de impresoras " + dir.file("Pliegomatic.ini") +
                                  ". La lista de impresoras queda vacia. Verifique los permisos del archivo y que "
                                  "la unidad de red este disponible."}));
}

}  // namespace

namespace {

const std::string kWideEpson =
    "[EPSON ANCHA]\r\n"
    "RENGLONES POR PAGINA=72\r\n"
    "RENGLONES DEL ENCABEZADO=4\r\n"
    "RENGLONES ENTRE PAGINAS=0\r\n"
    "LPT=1\r\n"
    "NUMERO DE PAGINA=1\r\n"
    "JUEGO DE COMANDOS=EPSON ESC/P\r\n"
    "CARACTERES POR PULGADA=17.1\r\n"
    "COLUMNAS DEL CARRO=136\r\n"
    "TABLA DE CARACTERES=PC850\r\n"
    "AL TERMINAR=SALTO DE PAGINA\r\n"
    "CODIGOS DEL ENCABEZADO=UNA VEZ AL COMIENZO\r\n"
    "REEMPLAZAR SIMBOLOS=SI\r\n";

const PrinterSetupTexts kWideEpsonTexts = {"EPSON ESC/P", "17.1", "136", "PC850",
                                           "SALTO DE PAGINA", "UNA VEZ AL COMIENZO", "SI"};

TEST_F(PrinterProfilesTest, TheSetUpKeysAreLoadedWithTheProfile) {
  startWith(kWideEpson + kTwoProfiles);
  select(0);
  EXPECT_EQ(view.setup, kWideEpsonTexts);
  PrinterSetup expected;
  expected.commands = CommandSet::EscP;
  expected.pitch = Pitch::Cpi17;
  expected.carriageColumns = 136;
  expected.table = CharTable::Pc850;
  expected.end = JobEnd::FormFeed;
  expected.headerCodesOnce = true;
  expected.foldTypography = true;
  EXPECT_EQ(readPrinterSetup(view.setup), expected);
  // A profile without them: today's behaviour, nothing sent.
  select(1);
  EXPECT_EQ(view.setup, PrinterSetupTexts{});
  EXPECT_EQ(readPrinterSetup(view.setup), PrinterSetup{});
}

TEST_F(PrinterProfilesTest, GuardarWritesTheSetUpKeysAfterTheFive) {
  view.list = {"EPSON ANCHA"};
  view.selected = 0;
  view.fill("72", "4", "0", "1");
  view.box = CheckState::Checked;
  view.setup = kWideEpsonTexts;
  profiles.saveProfile();
  EXPECT_EQ(ini(), kWideEpson);
  EXPECT_EQ(dialogs.informed.back(), "Datos de la impresora EPSON ANCHA guardados");
}

TEST_F(PrinterProfilesTest, AProfileWithoutSetUpIsSavedWithTheFiveKeysOnly) {
  startWith(kTwoProfiles);
  select(0);
  view.fill("72", "4", "2", "1");
  view.box = CheckState::Unchecked;
  profiles.saveProfile();
  EXPECT_EQ(ini(), kTwoProfiles);
}

TEST_F(PrinterProfilesTest, ASetUpClearedInTheWindowClearsItsKeys) {
  startWith(kWideEpson);
  select(0);
  view.setup = PrinterSetupTexts{};
  view.setup.table = "PC437";
  profiles.saveProfile();
  profiles.CargarImpresoras();
  view.setup = kWideEpsonTexts;
  select(0);
  PrinterSetupTexts expected;
  expected.table = "PC437";
  EXPECT_EQ(view.setup, expected);
  EXPECT_EQ(readPrinterSetup(view.setup).commands, CommandSet::None);
}

TEST_F(PrinterProfilesTest, AWindowWithoutTheSetUpReadsAndSavesAnIniThatHasIt) {
  // What an earlier version does with the new keys: it loads its five
  // values as before and its save leaves the other keys as they are.
  view.setupFields = false;
  startWith(kWideEpson);
  select(0);
  EXPECT_EQ(view.shownFields(), (std::vector<std::string>{"72", "4", "0", "1"}));
  profiles.saveProfile();
  EXPECT_EQ(ini(), kWideEpson);
  view.fill("66", "4", "0", "1");
  profiles.saveProfile();
  std::string changed = kWideEpson;
  changed.replace(changed.find("=72"), 3, "=66");
  EXPECT_EQ(ini(), changed);
}

}  // namespace
