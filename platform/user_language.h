// The language the user reads the programs' own texts in: Japanese or,
// for anyone else, English.
#ifndef FENMARQ_PLATFORM_USER_LANGUAGE_H_
#define FENMARQ_PLATFORM_USER_LANGUAGE_H_

#include <string_view>

namespace fenmarq {

// Whether the locale of messages, the first of LC_ALL, LC_MESSAGES and LANG
// that is set and not empty, starts with "ja". Null stands for a variable
// that is not set.
inline bool japaneseMessages(const char* lcAll, const char* lcMessages, const char* lang) {
  for (const char* value : {lcAll, lcMessages, lang}) {
    if (value != nullptr && *value != '\0') return std::string_view(value).starts_with("ja");
  }
  return false;
}

// Whether the user's texts are to be Japanese: on Windows when the user's
// display language is, elsewhere by the locale of messages as above.
bool japaneseMessages();

}  // namespace fenmarq

#endif  // FENMARQ_PLATFORM_USER_LANGUAGE_H_
