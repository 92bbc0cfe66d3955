// The folder a window is started for (`fenmarq FOLDER`), where its batches
// write their outputs.
#ifndef FENMARQ_APP_START_FOLDER_H_
#define FENMARQ_APP_START_FOLDER_H_

#include <string>
#include <string_view>

namespace fenmarq {

// The heading of the message box that says why the start folder could not
// be entered.
inline constexpr std::string_view kStartFolderFailure = "起動フォルダに移動できません。";

// Makes `folder` (UTF-8) the current directory: "" when it is, else why not
// ("cannot enter the start folder /x: No such file or directory").
std::string enterStartFolder(std::string_view folder);

}  // namespace fenmarq

#endif  // FENMARQ_APP_START_FOLDER_H_
