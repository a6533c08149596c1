#pragma once

// The component library's one exception class. Misuse of a component raises
// it with a fixed English message; the application's error handler shows the
// message as it stands.
//
// From code:
//
//   try {
//     Recent->BringToTop(Path);
//   } catch (const EJError &Error) {
//     QMessageBox::warning(Window, "My Editor", QString::fromStdString(Error.what()));
//   }

#include <stdexcept>
#include <string>

class EJError : public std::runtime_error {
 public:
  explicit EJError(const std::string &Message) : std::runtime_error(Message) {}
};
