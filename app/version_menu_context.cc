// Window managers other than Windows' own keep the window menu to
// themselves, so the item goes into the dialog's context menu. Controls
// with a menu of their own (the edits) keep it; a right click anywhere else
// in the dialog offers the item.
#include <QAction>
#include <QDialog>
#include <QString>
#include <utility>

#include "app/version_menu.h"

namespace fenmarq {

void addVersionMenuItem(QDialog& dialog, std::function<void()> showVersion) {
  auto* action = new QAction(QString::fromUtf8(kVersionMenuText), &dialog);
  QObject::connect(action, &QAction::triggered, &dialog, std::move(showVersion));
  dialog.addAction(action);
  dialog.setContextMenuPolicy(Qt::ActionsContextMenu);
}

}  // namespace fenmarq
