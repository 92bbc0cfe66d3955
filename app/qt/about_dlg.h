// The version dialog: the icon, the version line and Fenmarq's own
// version, closed with OK.
#ifndef FENMARQ_APP_QT_ABOUT_DLG_H_
#define FENMARQ_APP_QT_ABOUT_DLG_H_

#include <QDialog>

namespace fenmarq {

class CAboutDlg final : public QDialog {
  Q_OBJECT

 public:
  explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace fenmarq

#endif  // FENMARQ_APP_QT_ABOUT_DLG_H_
