#include "platform/paths.h"

namespace fenmarq {

std::string_view directorySeparators() { return "/"; }

std::vector<std::string> expandFileArgument(std::string_view arg) { return {std::string(arg)}; }

}  // namespace fenmarq
