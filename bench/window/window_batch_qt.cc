// window_batch LIST: opens the window in the current folder, puts the files
// that LIST names (one per line) into its list, clicks the start button and
// prints the seconds from the click until the title has lost its progress,
// that is, until the window is ready for the user again.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "app/qt/orvatch_dlg.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QFile list(argc == 2 ? QString::fromLocal8Bit(argv[1]) : QString());
  if (!list.open(QIODevice::ReadOnly | QIODevice::Text)) {
    std::fprintf(stderr, "usage: window_batch LIST\n");
    return 2;
  }
  QStringList entries;
  while (!list.atEnd()) entries << QString::fromUtf8(list.readLine()).trimmed();

  fenmarq::COrvatchDlg dialog;
  dialog.addTargets(entries);
  dialog.show();
  QElapsedTimer clock;
  QObject::connect(&dialog, &QWidget::windowTitleChanged, [&](const QString& title) {
    if (title != QStringLiteral("Fenmarq")) return;
    std::printf("%.3f\n", static_cast<double>(clock.nsecsElapsed()) / 1e9);
    app.quit();
  });
  QTimer::singleShot(0, [&] {
    clock.start();
    dialog.findChild<QPushButton*>(QStringLiteral("IDC_START"))->click();
  });
  return app.exec();
}
