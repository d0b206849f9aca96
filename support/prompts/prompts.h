#pragma once
// The dialogs a command may need from the user: file choices, messages and
// confirmations. The desktop program shows real dialogs; tests script the answers.

#include <optional>
#include <string>

namespace nimbra {

enum class Answer { Yes, No, Cancel };

class Prompts {
 public:
  virtual ~Prompts() = default;
  // A file-open dialog preset with proposed; the file name it holds when it closes
  // (the proposed one after a cancel). filters: Qt-style "Text Files (*.txt);;All files (*)",
  // or empty for none.
  virtual std::string ChooseFileToOpen(const std::string& proposed, const std::string& filters) = 0;
  // A file-save dialog preset with proposed; nothing when the user cancels.
  virtual std::optional<std::string> ChooseFileToSave(const std::string& proposed,
                                                      const std::string& filters) = 0;
  // An information message with an OK button.
  virtual void Inform(const std::string& text) = 0;
  // A question with Yes and No, or with Yes, No and Cancel.
  virtual bool Confirm(const std::string& text) = 0;
  virtual Answer ConfirmOrCancel(const std::string& text) = 0;
  // An error that ended a command.
  virtual void ShowError(const std::string& text) { Inform(text); }
  // A value refused, or a result the user should not trust blindly; the command went on.
  virtual void Warn(const std::string& text) { Inform(text); }
};

}  // namespace nimbra
