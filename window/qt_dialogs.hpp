#pragma once
// The message boxes and the input box of the window, made with Qt.
#include "common/dialogs.hpp"

class QWidget;

namespace pliego {

class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent) : parent_(parent) {}
  void inform(const std::string& text) override;
  bool confirm(const std::string& text) override;
  std::string ask(const std::string& prompt, const std::string& title, const std::string& defaultAnswer) override;

 private:
  QWidget* parent_;
};

}  // namespace pliego
