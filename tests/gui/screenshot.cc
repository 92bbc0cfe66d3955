// Takes a picture of the window after a batch, for the documentation:
//   fenmarq_screenshot OUT.png FILE...
// adds FILE... to the target list as the user would, converts them in the
// current directory and saves the window as OUT.png. Run it under a display
// (xvfb-run works) from a folder prepared by `fenmarq-cli samples`.
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "app/qt/app_icon.h"
#include "app/qt/orvatch_dlg.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fputs("usage: fenmarq_screenshot OUT.png FILE...\n", stderr);
    return 2;
  }
  QApplication::setWindowIcon(fenmarq::applicationIcon());
  fenmarq::COrvatchDlg dialog;
  dialog.show();
  if (!QTest::qWaitForWindowExposed(&dialog)) return 1;

  auto* path = dialog.findChild<QLineEdit*>(QStringLiteral("IDC_SBIN"));
  auto* add = dialog.findChild<QPushButton*>(QStringLiteral("IDC_ADDTARGET"));
  for (int i = 2; i < argc; ++i) {
    path->setText(QFileInfo(QString::fromLocal8Bit(argv[i])).absoluteFilePath());
    add->click();
  }
  dialog.findChild<QPushButton*>(QStringLiteral("IDC_START"))->click();
  if (!QTest::qWaitFor([&] { return !dialog.batchRunning(); }, 60000)) return 1;
  QTest::qWait(200);
  return dialog.grab().save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
