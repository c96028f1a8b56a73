#pragma once

#include <filesystem>

namespace corvale {

// The user's home folder: $HOME when set and not empty, else the password database's entry;
// empty when neither says.
std::filesystem::path HomeFolder();

}  // namespace corvale
