#pragma once
// The user-facing boxes the procedures need. The window supplies Qt's; tests
// script them. Messages and prompts are in the system's encoding, as the
// file names they carry are (a profile's name is converted into it); the
// input box's default and answer are code-page bytes, as profile names are.
#include <string>

namespace pliego {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Message box with the information icon and an OK button, titled "Pliegomatic".
  virtual void inform(const std::string& text) = 0;
  // Message box with the question icon and the buttons Yes and No; true on Yes.
  virtual bool confirm(const std::string& text) = 0;
  // Input box with a prompt, a title and a default answer; Cancel yields "".
  virtual std::string ask(const std::string& prompt, const std::string& title,
                          const std::string& defaultAnswer) = 0;
};

}  // namespace pliego
