#include "platform/paths.h"

namespace fenmarq {

char directorySeparator() { return '\\'; }

}  // namespace fenmarq
