#pragma once
// The home folder the password database gives the effective user, for when HOME is unset or
// not an absolute path; empty when the database has no entry or no folder for the user.
#include <string>

namespace quorlane {

std::string accountHome();

}  // namespace quorlane
