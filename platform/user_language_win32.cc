#include <windows.h>

#include "platform/user_language.h"

namespace fenmarq {

bool japaneseMessages() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE; }

}  // namespace fenmarq
