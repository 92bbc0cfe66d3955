#include "cli/text.h"

#include "platform/user_language.h"

namespace fenmarq {

std::string_view say(const Text& text) {
  // The language is the user's for the whole run.
  static const bool japanese = japaneseMessages();
  return japanese ? text.japanese : text.english;
}

}  // namespace fenmarq
