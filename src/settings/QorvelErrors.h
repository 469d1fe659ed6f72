#pragma once
// The one base of every error the program raises. Handlers that report errors to the
// user catch EQorvelError (or std::exception) and show what(); the derived classes only
// add data such as a line number.

#include <stdexcept>
#include <string>

class EQorvelError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;

  std::string Message() const { return what(); }
};
