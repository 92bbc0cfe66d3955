#include <windows.h>

#include <string>
#include <utility>

#include "platform/cp932.h"
#include "platform/utf8.h"

namespace fenmarq {
namespace {

// Characters of the JIS tables that code page 932 writes under their
// Microsoft twins; the iconv codec writes them so, and this one does too, so
// that a sheet is the same on both systems.
constexpr std::pair<char32_t, wchar_t> kTwins[] = {
    {U'\u00A2', L'\uFFE0'},  // ¢ as ￠
    {U'\u00A3', L'\uFFE1'},  // £ as ￡
    {U'\u00A5', L'\\'},      // ¥ as the byte 5C
    {U'\u00AC', L'\uFFE2'},  // ¬ as ￢
    {U'\u2014', L'\u2015'},  // — as ―
    {U'\u2016', L'\u2225'},  // ‖ as ∥
    {U'\u203E', L'~'},       // ‾ as the byte 7E
    {U'\u2212', L'\uFF0D'},  // − as －
    {U'\u301C', L'\uFF5E'},  // 〜 as ～
};

wchar_t cp932Twin(char32_t code) {
  for (const auto& [jis, microsoft] : kTwins) {
    if (code == jis) return microsoft;
  }
  return static_cast<wchar_t>(code);
}

}  // namespace

// The Win32 conversion needs no state; the object exists for the interface.
struct Cp932Encoder::Converter {};

Cp932Encoder::Cp932Encoder(std::unique_ptr<Converter> converter)
    : converter_(std::move(converter)) {}

std::string_view Cp932Encoder::codecName() {
  return "Win32 WideCharToMultiByte (code page 932, no best fit)";
}

std::unique_ptr<Cp932Encoder> Cp932Encoder::open() {
  return std::unique_ptr<Cp932Encoder>(new Cp932Encoder(std::make_unique<Converter>()));
}

Cp932Encoder::~Cp932Encoder() = default;

// The UTF-8 is decoded here rather than by MultiByteToWideChar, so that
// malformed bytes count one "?" each, as with iconv; runs of characters of
// the Basic Multilingual Plane go to code page 932 in one call. Best-fit
// look-alikes are refused: a character without a CP932 form is "?".
std::string Cp932Encoder::encode(std::string_view utf8) {
  std::string out;
  std::wstring run;
  const auto flushRun = [&] {
    if (run.empty()) return;
    const int size = static_cast<int>(run.size());
    const int length =
        WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, run.data(), size, nullptr, 0, "?", nullptr);
    const std::size_t used = out.size();
    out.resize(used + static_cast<std::size_t>(length));
    WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, run.data(), size, out.data() + used, length, "?",
                        nullptr);
    run.clear();
  };
  const auto* bytes = reinterpret_cast<const unsigned char*>(utf8.data());
  for (std::size_t at = 0; at < utf8.size();) {
    const std::size_t length = wellFormedLength(bytes + at, utf8.size() - at);
    const char32_t code = length == 0 ? 0 : decodeUtf8(bytes + at, length);
    if (length != 0 && code <= 0xFFFF) {
      run += cp932Twin(code);
    } else {
      // Malformed, or beyond the Basic Multilingual Plane, where CP932 has
      // no character.
      flushRun();
      out += '?';
    }
    at += length != 0 ? length : 1;
  }
  flushRun();
  return out;
}

}  // namespace fenmarq
