#include "app/target_list.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
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
  // Long paths are cut at the list's edge rather than shortened with "...".
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setTextElideMode(Qt::ElideNone);
  setAcceptDrops(true);
}

void TargetList::addTarget(const QString& path) { addItem(path); }

void TargetList::deleteSelected() {
  const QList<QListWidgetItem*> selected = selectedItems();
  if (selected.isEmpty()) return;
  std::unique_ptr<QListWidgetItem> removed(takeItem(row(selected.front())));
  clearSelection();
}

std::vector<std::string> TargetList::paths() const {
  std::vector<std::string> paths;
  paths.reserve(static_cast<std::size_t>(count()));
  for (int i = 0; i < count(); ++i) paths.push_back(item(i)->text().toStdString());
  return paths;
}

void TargetList::dragEnterEvent(QDragEnterEvent* event) {
  if (carriesFiles(event->mimeData())) event->acceptProposedAction();
}

void TargetList::dragMoveEvent(QDragMoveEvent* event) {
  if (carriesFiles(event->mimeData())) event->acceptProposedAction();
}

void TargetList::dropEvent(QDropEvent* event) {
  if (!carriesFiles(event->mimeData())) return;
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) addTarget(QDir::toNativeSeparators(url.toLocalFile()));
  }
  event->acceptProposedAction();
}

}  // namespace fenmarq
