#pragma once
// Plain fakes of the window, the message boxes and the program launcher.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/dialogs.hpp"
#include "platform/launcher.hpp"
#include "printing/print_view.hpp"

namespace pliego::testing {

struct FakeView : PrintView {
  std::string report, perPage = "66", header = "5", between = "0", port = "1", caption = "aviso";
  CheckState pageNumber = CheckState::Checked, preview = CheckState::Unchecked, vatTotals = CheckState::Unchecked;
  std::vector<std::string> captions;  // every caption shown, in order
  std::vector<FocusTarget> focus;
  std::string profile = "EPSON 11 PULGADAS";
  std::string destinationText;  // the profile's "DESTINO": the script when empty
  PrinterSetupTexts printer;

  std::string selectedReport() const override { return report; }
  std::string selectedProfile() const override { return profile; }
  std::string destination() const override { return destinationText; }
  PrinterSetupTexts profilePrinterSetup() const override { return printer; }
  PdfRequest pdf;  // the PDF folder and paper the profile keeps
  PdfRequest profilePdf() const override { return pdf; }
  std::string linesPerPage() const override { return perPage; }
  std::string headerLines() const override { return header; }
  std::string linesBetweenPages() const override { return between; }
  std::string portNumber() const override { return port; }
  CheckState pageNumberBox() const override { return pageNumber; }
  CheckState previewBox() const override { return preview; }
  CheckState vatTotalsBox() const override { return vatTotals; }
  std::string statusCaption() const override { return caption; }
  void showStatusCaption(const std::string& text) override {
    caption = text;
    captions.push_back(text);
  }
  void moveFocus(FocusTarget target) override { focus.push_back(target); }
};

struct FakeDialogs : Dialogs {
  struct Asked {
    std::string prompt, title, defaultAnswer;
  };
  std::vector<std::string> informed, confirmed;
  std::vector<Asked> asked;
  bool answerYes = true;
  std::string answer;
  void inform(const std::string& text) override { informed.push_back(text); }
  bool confirm(const std::string& text) override {
    confirmed.push_back(text);
    return answerYes;
  }
  std::string ask(const std::string& prompt, const std::string& title, const std::string& defaultAnswer) override {
    asked.push_back({prompt, title, defaultAnswer});
    return answer;
  }
};

struct FakeLauncher : ProgramLauncher {
  struct Started {
    Command command;
    bool tracked;
  };
  std::vector<Started> started;
  std::error_code failure;    // returned by start and startTracked
  bool trackedEnded = true;   // what waitForTracked answers
  int endsAtLook = 0;         // when set, the tracked command ends at this look
  int waits = 0;
  std::error_code start(const Command& command) override {
    started.push_back({command, false});
    return failure;
  }
  std::error_code startTracked(const Command& command) override {
    started.push_back({command, true});
    return failure;
  }
  bool waitForTracked(std::chrono::milliseconds) override {
    ++waits;
    return endsAtLook ? waits >= endsAtLook : trackedEnded;
  }
  std::optional<Ending> lastEnding = Ending{};  // what waitForLastStarted answers
  std::vector<Ending> endings;                  // what takeEndings answers, once
  std::optional<Ending> waitForLastStarted(std::chrono::milliseconds) override { return lastEnding; }
  std::vector<Ending> takeEndings() override { return std::exchange(endings, {}); }
};

}  // namespace pliego::testing
