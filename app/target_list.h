// The list of files to convert, in the order they were added.
#ifndef FENMARQ_APP_TARGET_LIST_H_
#define FENMARQ_APP_TARGET_LIST_H_

#include <QListWidget>
#include <QString>
#include <string>
#include <vector>

namespace fenmarq {

class TargetList final : public QListWidget {
  Q_OBJECT

 public:
  explicit TargetList(QWidget* parent = nullptr);

  // Appends `path` as the last entry. Nothing is checked: not the file, not
  // its name, not whether the list holds it already.
  void addTarget(const QString& path);
  // Removes the selected entry, if any; the list is left with no selection.
  void deleteSelected();
  // The entries in list order, UTF-8.
  std::vector<std::string> paths() const;

 protected:
  // The Delete key deletes the selected entry, as "削除" does.
  void keyPressEvent(QKeyEvent* event) override;
  // Files dropped here are appended in drop order, as if added one by one.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
};

}  // namespace fenmarq

#endif  // FENMARQ_APP_TARGET_LIST_H_
