// SPDX-License-Identifier: MIT
// Helpers of the desktop program's tests: waiting with a time limit while the event loop runs,
// reading the page the browser shows, a private settings folder per test.
#pragma once

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "app/BrowserPage.h"
#include "app/MainWindow.h"
#include "common/_0ZTINI.h"

namespace guitest {

// Runs the event loop until pred holds or ms have passed; the result of pred at the end.
inline bool WaitFor(const std::function<bool()>& pred, int ms = 20000) {
  QElapsedTimer t;
  t.start();
  while (!pred()) {
    if (t.elapsed() > ms) return pred();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QTest::qWait(10);
  }
  return true;
}

// The text of the page on display (empty when the browser does not answer in time).
inline QString PageText(QWebEngineView* view) {
  QString text;
  bool done = false;
  view->page()->toPlainText([&](const QString& t) {
    text = t;
    done = true;
  });
  WaitFor([&] { return done; }, 10000);
  return text;
}

inline void SetEnv(const char* name, const std::string& value) {
  ::setenv(name, value.c_str(), 1);
}

// A settings folder of its own for each test, and the shipped verb lists.
class TPrivateSettings {
 public:
  TPrivateSettings() {
    SetEnv("BEUGWERK_VERBLISTS", BEUGWERK_SOURCE_DIR "/data/Beugwerk.VLX");
    ReleaseUserSettings();
    // A later run of a test that spans two processes works in the folder of the first.
    if (std::getenv("BEUGWERK_GUI_RUN")) return;
    char pattern[] = "/tmp/beugwerk-gui-test-XXXXXX";
    FDir = ::mkdtemp(pattern);
    SetEnv("XDG_CONFIG_HOME", (FDir / "config").string());
    SetEnv("XDG_DATA_HOME", (FDir / "data").string());
  }
  ~TPrivateSettings() {
    ReleaseUserSettings();
    std::error_code ec;
    if (!FDir.empty()) std::filesystem::remove_all(FDir, ec);
  }
  const std::filesystem::path& Dir() const { return FDir; }

 private:
  std::filesystem::path FDir;
};

// The browser wants both before the QApplication of the test's main exists: each test file
// calls it in the initialiser of a namespace-scope constant.
inline bool PrepareBrowser() {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  RegisterBrowserSchemes();
  return true;
}

inline QString Caption(const TForm1& w) {
  return w.windowTitle();
}

inline QAction* FindAction(QWidget* w, const QString& text) {
  for (QAction* a : w->findChildren<QAction*>())
    if (a->text() == text) return a;
  return nullptr;
}

// Answers the next modal box with answer(box) from inside its event loop; polls, so a box that
// never comes leaves nothing behind but the timer, which the caller owns.
class TModalAnswer {
 public:
  explicit TModalAnswer(std::function<void(QWidget* box)> answer) : FAnswer(std::move(answer)) {
    FPoll.setInterval(100);
    QObject::connect(&FPoll, &QTimer::timeout, [this] {
      if (QWidget* box = QApplication::activeModalWidget()) {
        FPoll.stop();
        ++FSeen;
        FAnswer(box);
      }
    });
    FPoll.start();
  }
  int Seen() const { return FSeen; }

 private:
  std::function<void(QWidget*)> FAnswer;
  QTimer FPoll;
  int FSeen = 0;
};

}  // namespace guitest
