// A text of fenmarq-cli, in English and in Japanese: each command's texts
// sit beside it as a table of these, and `say` gives the one the user reads
// (Japanese where the user's language is, English elsewhere).
#ifndef FENMARQ_CLI_TEXT_H_
#define FENMARQ_CLI_TEXT_H_

#include <string_view>

namespace fenmarq {

struct Text {
  std::string_view english;
  std::string_view japanese;
};

std::string_view say(const Text& text);

}  // namespace fenmarq

#endif  // FENMARQ_CLI_TEXT_H_
