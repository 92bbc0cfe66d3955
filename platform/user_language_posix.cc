#include <cstdlib>

#include "platform/user_language.h"

namespace fenmarq {

bool japaneseMessages() {
  return japaneseMessages(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

}  // namespace fenmarq
