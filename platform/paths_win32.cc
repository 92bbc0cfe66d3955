#include "platform/paths.h"

namespace fenmarq {

std::string_view directorySeparators() { return "\\/"; }

}  // namespace fenmarq
