// The command that opens the version dialog, placed where the platform's
// users look for it: in the window menu on Windows, and in a context menu
// of the dialog where the window manager owns the window menu.
#ifndef FENMARQ_APP_VERSION_MENU_H_
#define FENMARQ_APP_VERSION_MENU_H_

#include <functional>

class QDialog;

namespace fenmarq {

inline constexpr char kVersionMenuText[] = "Orvatch のﾊﾞｰｼﾞｮﾝ情報(&A)...";

// Adds the item to `dialog`; choosing it calls `showVersion`.
void addVersionMenuItem(QDialog& dialog, std::function<void()> showVersion);

}  // namespace fenmarq

#endif  // FENMARQ_APP_VERSION_MENU_H_
