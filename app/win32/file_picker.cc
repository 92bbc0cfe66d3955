#include "app/win32/file_picker.h"

#include <commdlg.h>

#include <algorithm>

#include "app/win32/resource.h"
#include "app/win32/texts.h"
#include "platform/utf16_win32.h"

namespace fenmarq {
namespace {

class OpenFileDialog final : public FilePicker {
 public:
  std::optional<std::string> pickFile(HWND owner) override {
    // "All files (*.*) |*.*||": the filter's parts are separated by "|" in
    // the resource and by NUL in the dialog's terms.
    std::wstring filter = loadResourceString(IDS_FILE_FILTER);
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    // Room for the longest path the system accepts.
    std::wstring path(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
    if (!GetOpenFileNameW(&dialog)) return std::nullopt;
    path.resize(wcslen(path.c_str()));
    return utf8FromUtf16(path);
  }
};

}  // namespace

std::unique_ptr<FilePicker> makeOpenFileDialog() { return std::make_unique<OpenFileDialog>(); }

}  // namespace fenmarq
