// The folder a window is started for (`fenmarq FOLDER`), where its batches
// write their outputs.
#ifndef FENMARQ_APP_START_FOLDER_H_
#define FENMARQ_APP_START_FOLDER_H_

#include <string>
#include <string_view>
#include <system_error>

namespace fenmarq {

// Makes `folder` (UTF-8) the current directory; the error when it cannot.
std::error_code enterStartFolder(std::string_view folder);

// Why `folder` could not be entered, in Japanese or in English:
// "起動フォルダに移動できません。\n/x\nフォルダがありません。" or
// "cannot enter the start folder /x: No such file or directory".
std::string startFolderFailure(std::string_view folder, std::error_code error, bool japanese);

}  // namespace fenmarq

#endif  // FENMARQ_APP_START_FOLDER_H_
