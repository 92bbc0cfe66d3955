// Controls with a context menu of their own (the edits) keep it; a right
// click anywhere else in the dialog offers the item.
#include "app/qt/version_menu.h"

#include <QAction>
#include <QDialog>
#include <QString>
#include <utility>

namespace fenmarq {

void addVersionMenuItem(QDialog& dialog, std::function<void()> showVersion) {
  auto* action = new QAction(QString::fromUtf8(kVersionMenuText), &dialog);
  QObject::connect(action, &QAction::triggered, &dialog, std::move(showVersion));
  dialog.addAction(action);
  dialog.setContextMenuPolicy(Qt::ActionsContextMenu);
}

}  // namespace fenmarq
