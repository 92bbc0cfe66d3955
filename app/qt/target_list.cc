#include "app/qt/target_list.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>
#include <memory>

namespace fenmarq {
namespace {

bool carriesFiles(const QMimeData* data) {
  if (data == nullptr) return false;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) return true;
  }
  return false;
}

}  // namespace

TargetList::TargetList(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Long paths are shown whole: the list scrolls sideways as far as its
  // longest entry reaches, and each entry's tooltip holds its full path.
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setTextElideMode(Qt::ElideNone);
  setAcceptDrops(true);
}

void TargetList::addTarget(const QString& path) {
  auto* item = new QListWidgetItem(path, this);  // owned by the list
  item->setToolTip(path);
}

void TargetList::removeEntry(int row) {
  std::unique_ptr<QListWidgetItem> removed(takeItem(row));
  clearSelection();
}

void TargetList::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete) {
    emit deleteRequested();
    return;
  }
  QListWidget::keyPressEvent(event);
}

void TargetList::dragEnterEvent(QDragEnterEvent* event) {
  if (carriesFiles(event->mimeData())) event->acceptProposedAction();
}

void TargetList::dragMoveEvent(QDragMoveEvent* event) {
  if (carriesFiles(event->mimeData())) event->acceptProposedAction();
}

void TargetList::dropEvent(QDropEvent* event) {
  if (!carriesFiles(event->mimeData())) return;
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) paths << QDir::toNativeSeparators(url.toLocalFile());
  }
  event->acceptProposedAction();
  emit filesDropped(paths);
}

}  // namespace fenmarq
