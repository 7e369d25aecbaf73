// SPDX-License-Identifier: MIT
// beugwerk-gui-screenshot OUTPUT.png PHRASE: opens the main window on the display (an Xvfb
// server, see tools/screenshot-gui), shows the page of PHRASE (or, for "--hilfe", the help
// page, for "--alle:PHRASE" the page of all forms with "Alle Formen" on, scrolled to the
// further blocks) and saves the window as a PNG; "--info" saves the about box instead.
// Not installed; it documents how the program looks.
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cstdio>

#include "app/BrowserPage.h"
#include "app/MainWindow.h"
#include "common/_0ZTINI.h"
#include "common/_0comvcl.h"

namespace {

void Pause(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  RegisterBrowserSchemes();
  QApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "Usage: beugwerk-gui-screenshot OUTPUT.png PHRASE\n");
    return 2;
  }
  InstallMsgBoxWin();
  int rc = 0;
  {
    TForm1 window;
    SetMainForm(&window);
    window.show();
    Pause(500);  // the first page, which comes with the window
    const QString phrase = QString::fromLocal8Bit(argv[2]);
    if (phrase == QStringLiteral("--info")) {
      // The about box is modal: it is photographed and closed from inside its own loop.
      QTimer::singleShot(1000, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
          box->screen()->grabWindow(box->winId()).save(QString::fromLocal8Bit(argv[1]), "PNG");
          box->close();
        }
      });
      window.ShowAbout();
    } else if (phrase == QStringLiteral("--hilfe")) {
      window.ShowHelp();
    } else if (phrase.startsWith(QStringLiteral("--alle:"))) {
      // "Ansicht" > "Alle Formen" on, scrolled to the first of the further blocks.
      for (QAction* a : window.findChildren<QAction*>())
        if (a->text() == QStringLiteral("Alle Formen")) a->setChecked(true);
      window.SetInputText(phrase.mid(7));
      window.GenerateAndShow();
      Pause(500);
      window.Browser()->page()->runJavaScript(QStringLiteral(
          "Array.from(document.querySelectorAll('b')).find(b => b.textContent.startsWith("
          "'Konjunktiv I Perfekt')).scrollIntoView()"));
    } else {
      window.SetInputText(phrase);
      window.GenerateAndShow();
    }
    Pause(1500);  // the browser paints after the load
    if (phrase == QStringLiteral("--info")) {
      window.close();
    } else if (const QPixmap shot = window.screen()->grabWindow(window.winId());
               shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
      std::fprintf(stderr, "beugwerk-gui-screenshot: %s cannot be written\n", argv[1]);
      rc = 1;
    } else {
      std::printf("%s (%dx%d): %s\n", argv[1], shot.width(), shot.height(),
                  qPrintable(window.windowTitle()));
    }
  }
  ReleaseUserSettings();
  return rc;
}
