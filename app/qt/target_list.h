// The list of files to convert, in the order they were added.
#ifndef FENMARQ_APP_QT_TARGET_LIST_H_
#define FENMARQ_APP_QT_TARGET_LIST_H_

#include <QListWidget>
#include <QString>

namespace fenmarq {

class TargetList final : public QListWidget {
  Q_OBJECT

 public:
  explicit TargetList(QWidget* parent = nullptr);

  // Appends `path` as the last entry.
  void addTarget(const QString& path);
  // Removes entry `row`; the list is left with no selection.
  void removeEntry(int row);

 signals:
  void deleteRequested();
  void filesDropped(const QStringList& paths);

 protected:
  // The Delete key asks for the selected entry to go, as "削除" does.
  void keyPressEvent(QKeyEvent* event) override;
  // Files dropped here are offered in drop order, to be added one by one.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
};

}  // namespace fenmarq

#endif  // FENMARQ_APP_QT_TARGET_LIST_H_
