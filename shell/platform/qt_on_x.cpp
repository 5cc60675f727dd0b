#include "shell/platform/qt_on_x.h"

namespace quorlane {

QtOnXArguments::QtOnXArguments(const char* program)
    : argv_{const_cast<char*>(program), platformOption_, platformName_, nullptr} {}

}  // namespace quorlane
