// On Windows the item goes into the window's system menu, below a
// separator, with command number 0x0010; the system command it sends is
// caught before Qt handles it.
#include <windows.h>

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QDialog>
#include <QString>
#include <utility>

#include "app/version_menu.h"

namespace fenmarq {
namespace {

// System menu commands below 0xF000 are the application's; Windows uses the
// lowest four bits of the command for its own purposes.
constexpr UINT kVersionCommand = 0x0010;

class SystemMenuFilter final : public QObject, public QAbstractNativeEventFilter {
 public:
  SystemMenuFilter(QDialog& dialog, std::function<void()> showVersion)
      : QObject(&dialog),
        window_(reinterpret_cast<HWND>(dialog.winId())),
        showVersion_(std::move(showVersion)) {
    QCoreApplication::instance()->installNativeEventFilter(this);
  }

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override {
    if (eventType != "windows_generic_MSG") return false;
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->hwnd != window_ || msg->message != WM_SYSCOMMAND ||
        (msg->wParam & 0xFFF0) != kVersionCommand) {
      return false;
    }
    showVersion_();
    if (result != nullptr) *result = 0;
    return true;
  }

 private:
  HWND window_;
  std::function<void()> showVersion_;
};

}  // namespace

void addVersionMenuItem(QDialog& dialog, std::function<void()> showVersion) {
  HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(dialog.winId()), FALSE);
  if (menu == nullptr) return;
  const QString text = QString::fromUtf8(kVersionMenuText);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kVersionCommand, reinterpret_cast<LPCWSTR>(text.utf16()));
  // Owned by the dialog; its destruction also removes it from the
  // application.
  new SystemMenuFilter(dialog, std::move(showVersion));
}

}  // namespace fenmarq
