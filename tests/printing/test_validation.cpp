#include "printing/print_fixture.hpp"

using namespace pliego;
using namespace pliego::testing;

namespace {

class ValidationTest : public PrintJobTest {};

TEST_F(ValidationTest, ChecksRunInOrderAndStopAtTheFirstFailure) {
  struct Case {
    std::string report, header, perPage, port;
    std::string message;
    FocusTarget focus;
  };
  const std::string pick = "Debe seleccionar una configuracion de impresora";
  const Case cases[] = {
      {"  ", "letras", "", "", "Debe seleccionar el archivo a imprimir", FocusTarget::ReportList},
      {"MAYOR.TXT", "", "x", "", "Falta indicar los renglones del encabezado. " + pick, FocusTarget::ProfileList},
      {"MAYOR.TXT", "3 lineas", "66", "1", "Falta indicar los renglones del encabezado. " + pick,
       FocusTarget::ProfileList},
      {"MAYOR.TXT", "5", "   ", "", "Falta indicar los renglones de la pagina. " + pick, FocusTarget::ProfileList},
      {"MAYOR.TXT", "5", "66", "LPT1", "Falta indicar el numero de puerto de la impresora. " + pick,
       FocusTarget::ProfileList},
  };
  for (const auto& c : cases) {
    dialogs.informed.clear();
    view.focus.clear();
    view.report = c.report;
    view.header = c.header;
    view.perPage = c.perPage;
    view.port = c.port;
    EXPECT_FALSE(job.accepts(readJobFields(view)));
    ASSERT_EQ(dialogs.informed.size(), 1u) << c.message;
    EXPECT_EQ(dialogs.informed[0], c.message);
    ASSERT_EQ(view.focus.size(), 1u);
    EXPECT_EQ(view.focus[0], c.focus);
  }
}

TEST_F(ValidationTest, SmallOddValuesPassButCountsNoPaperHasAreRefused) {
  view.report = "IVAVENTAS.TXT";
  for (const char* value : {"0", "-3", "2.5", " 7 ", "1e2", "32767"}) {
    view.header = view.perPage = view.port = view.between = value;
    EXPECT_TRUE(job.accepts(readJobFields(view))) << value;
  }
  EXPECT_TRUE(dialogs.informed.empty());

  struct Case {
    std::string FakeView::*field;
    const char* value;
    const char* message;
    FocusTarget focus;
  };
  const Case cases[] = {
      {&FakeView::header, "40000", "Los renglones del encabezado no pueden", FocusTarget::HeaderLinesField},
      {&FakeView::perPage, "1e300", "Los renglones de la pagina no pueden", FocusTarget::LinesPerPageField},
      {&FakeView::perPage, "32767,5", "Los renglones de la pagina no pueden", FocusTarget::LinesPerPageField},
      {&FakeView::between, "99999 lineas", "Los renglones entre paginas no pueden", FocusTarget::BetweenPagesField},
  };
  for (const auto& c : cases) {
    view.header = view.perPage = view.port = view.between = "5";
    view.*c.field = c.value;
    EXPECT_FALSE(job.accepts(readJobFields(view))) << c.value;
    EXPECT_EQ(lastMessage().rfind(c.message, 0), 0u) << lastMessage();
    EXPECT_EQ(view.focus.back(), c.focus);
  }
}

TEST_F(ValidationTest, EveryMissingNumberIsToldBeforeAnyCountNoPaperHas) {
  // Fields that are not numbers mean no profile was chosen: that is told
  // first, whatever too large a count another field holds.
  struct Case {
    std::string header, perPage, port, between;
    std::string message;
    FocusTarget focus;
  };
  const std::string pick = "Debe seleccionar una configuracion de impresora";
  const Case cases[] = {
      {"40000", "", "1", "0", "Falta indicar los renglones de la pagina. " + pick, FocusTarget::ProfileList},
      {"40000", "66", "", "0", "Falta indicar el numero de puerto de la impresora. " + pick,
       FocusTarget::ProfileList},
      {"5", "40000", "LPT1", "0", "Falta indicar el numero de puerto de la impresora. " + pick,
       FocusTarget::ProfileList},
      {"5", "66", "x", "99999", "Falta indicar el numero de puerto de la impresora. " + pick,
       FocusTarget::ProfileList},
      {"40000", "40000", "1", "99999",
       "Los renglones del encabezado no pueden ser mas de 32767. Corrija la configuracion de impresora",
       FocusTarget::HeaderLinesField},
      {"5", "40000", "1", "99999",
       "Los renglones de la pagina no pueden ser mas de 32767. Corrija la configuracion de impresora",
       FocusTarget::LinesPerPageField},
  };
  view.report = "IVAVENTAS.TXT";
  for (const auto& c : cases) {
    dialogs.informed.clear();
    view.focus.clear();
    view.header = c.header;
    view.perPage = c.perPage;
    view.port = c.port;
    view.between = c.between;
    EXPECT_FALSE(job.accepts(readJobFields(view)));
    ASSERT_EQ(dialogs.informed.size(), 1u) << c.message;
    EXPECT_EQ(dialogs.informed[0], c.message);
    ASSERT_EQ(view.focus.size(), 1u);
    EXPECT_EQ(view.focus[0], c.focus) << c.message;
  }
}

TEST_F(ValidationTest, NumbersFollowTheUsersDecimalSeparator) {
  PrintJob commaJob{view, dialogs, launcher, dir.path(), NumberFormat{',', '.'}};
  view.report = "IVAVENTAS.TXT";
  view.header = "5";
  view.perPage = "66,5";
  view.port = "1";
  EXPECT_TRUE(commaJob.accepts(readJobFields(view)));
  view.perPage = "66,5,5";  // one decimal separator only
  EXPECT_FALSE(commaJob.accepts(readJobFields(view)));
  view.perPage = "66.5";
  EXPECT_TRUE(job.accepts(readJobFields(view)));
}

// The checks themselves need no window: the fields in, what to tell and
// where the focus goes out.
TEST(FieldValidation, TellsTheMessageAndTheFieldToMend) {
  JobFields fields;
  fields.report = "MAYOR.TXT";
  fields.headerLines = "5";
  fields.linesPerPage = "66";
  fields.linesBetweenPages = "0";
  fields.port = "1";
  EXPECT_FALSE(validateJobFields(fields, NumberFormat{'.', ','}));
  fields.linesBetweenPages = "99999";
  const auto refusal = validateJobFields(fields, NumberFormat{'.', ','});
  ASSERT_TRUE(refusal);
  EXPECT_EQ(refusal->message,
            "Los renglones entre paginas no pueden ser mas de 32767. Corrija la configuracion de impresora");
  EXPECT_EQ(refusal->focus, FocusTarget::BetweenPagesField);
}

TEST_F(ValidationTest, RefusedJobTouchesNothing) {
  dir.write("WRITE.TXT", "anterior\r\n");
  view.report = "";
  runJobHere(job, view);
  EXPECT_EQ(dir.read("WRITE.TXT"), "anterior\r\n");
  EXPECT_TRUE(view.captions.empty());
  EXPECT_TRUE(launcher.started.empty());
  EXPECT_EQ(dialogs.informed.size(), 1u);
}

}  // namespace
