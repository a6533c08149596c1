#pragma once

#include <stdexcept>
#include <string>

// The component library's one exception class. Misuse of a component raises
// it with a fixed English message; the application's error handler shows the
// message as it stands.
class EJError : public std::runtime_error {
 public:
  explicit EJError(const std::string &Message) : std::runtime_error(Message) {}
};
