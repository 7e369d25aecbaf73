// SPDX-License-Identifier: MIT
// beugwerk-gui: the desktop program. Takes no arguments of its own (Qt's are accepted).
#include <QApplication>
#include <exception>

#include "app/BrowserPage.h"
#include "app/MainWindow.h"
#include "common/_0ZTINI.h"
#include "common/_0comvcl.h"
#include "common/_ZT_cmn_A.h"

namespace {

// An error that escapes a command ends in the standard error box, not in a crash.
class TBeugwerkApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
      MsgBox().ErrInfo(Utf8ToUni(e.what()));
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  // The browser needs both before the application object exists.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  RegisterBrowserSchemes();
  TBeugwerkApplication app(argc, argv);
  QApplication::setDesktopFileName(QStringLiteral("beugwerk-gui"));
  QApplication::setApplicationVersion(QStringLiteral(BEUGWERK_VERSION));
  InstallMsgBoxWin();
  SetSettingsMessageCallback([](const std::string& m) { MsgBox().Info(Utf8ToUni(m)); });
  int rc = 0;
  {
    TForm1 window;
    SetMainForm(&window);
    window.show();
    rc = QApplication::exec();
  }
  ReleaseUserSettings();
  return rc;
}
