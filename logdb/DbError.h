#pragma once

#include <stdexcept>
#include <string>

namespace corvale {

// Every failure to open or read a log. what() is one sentence in words that names the file and
// what is wrong with it, fit to show to the user as it stands.
class DbError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace corvale
