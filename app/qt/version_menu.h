// The command that opens the version dialog. The window manager owns the
// window menu, so the command goes into the dialog's context menu.
#ifndef FENMARQ_APP_QT_VERSION_MENU_H_
#define FENMARQ_APP_QT_VERSION_MENU_H_

#include <functional>

class QDialog;

namespace fenmarq {

inline constexpr char kVersionMenuText[] = "Orvatch のﾊﾞｰｼﾞｮﾝ情報(&A)...";

// Adds the item to `dialog`; choosing it calls `showVersion`.
void addVersionMenuItem(QDialog& dialog, std::function<void()> showVersion);

}  // namespace fenmarq

#endif  // FENMARQ_APP_QT_VERSION_MENU_H_
