// Text in the system's own code page: the one Windows programs write where
// they write no Unicode (932 on a Japanese Windows, where cmd's `dir /b >`
// writes it). POSIX systems have none of their own: their text is UTF-8.
#ifndef FENMARQ_PLATFORM_CODE_PAGE_H_
#define FENMARQ_PLATFORM_CODE_PAGE_H_

#include <string>
#include <string_view>

namespace fenmarq {

// The system's ANSI code page, or 0 where there is none or it is UTF-8.
unsigned systemCodePage();

// Appends `bytes`, text in code page `codePage`, to `out` as UTF-8; false,
// with nothing appended, when they are not text in that code page or the
// system cannot convert from it.
bool appendUtf8FromCodePage(unsigned codePage, std::string_view bytes, std::string& out);

}  // namespace fenmarq

#endif  // FENMARQ_PLATFORM_CODE_PAGE_H_
