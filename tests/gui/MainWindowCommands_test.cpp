// SPDX-License-Identifier: MIT
// The window's file commands: the list dialog and its remembered file, a full-forms run with
// its closing message, an unreadable list, and the sitemap on the developer's machine.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "GuiTestSupport.h"
#include "app/FullForms.h"
#include "app/MainWindow.h"
#include "common/_0ZTINI.h"

namespace {

namespace fs = std::filesystem;
using guitest::FindAction;
using guitest::TModalAnswer;
using guitest::WaitFor;

const bool kPrepared = guitest::PrepareBrowser();

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteAll(const fs::path& p, std::string_view bytes) {
  std::ofstream out(p, std::ios::binary);
  out << bytes;
}

// Collects the addresses the window hands to the desktop instead of opening them.
class TUrlSink : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> Opened;

 public Q_SLOTS:
  void Open(const QUrl& url) { Opened.append(url); }
};

class WindowCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kPrepared);
    window = std::make_unique<TForm1>();
    window->show();
    ASSERT_TRUE(WaitFor([&] { return window->windowTitle().startsWith("Deutsche Verbformen"); }));
  }
  void TearDown() override { window.reset(); }
  fs::path Dir() const { return settings.Dir(); }

  guitest::TPrivateSettings settings;
  std::unique_ptr<TForm1> window;
};

TEST_F(WindowCommandsTest, ListDialogStartsAtTheRememberedFileAndCancelTouchesNothing) {
  const fs::path list = Dir() / "verben.txt";
  WriteAll(list, "lesen\r\n");
  WriteInfiListFile(list);
  QString title, folder;
  TModalAnswer answer([&](QWidget* box) {
    auto* dialog = qobject_cast<QFileDialog*>(box);
    if (dialog) {
      title = dialog->windowTitle();
      folder = dialog->directory().absolutePath();
    }
    static_cast<QDialog*>(box)->reject();
  });
  FindAction(window.get(), "Vollformengenerierung")->trigger();
  EXPECT_EQ(answer.Seen(), 1);
  EXPECT_EQ(title, "Liste der Infinitive...");
  EXPECT_EQ(folder.toStdString(), Dir().string());
  EXPECT_FALSE(fs::exists(Dir() / "verben.txf"));
}

TEST_F(WindowCommandsTest, FullFormsRunWritesTheListAndReportsTheCount) {
  const fs::path list = Dir() / "liste.txt";
  WriteAll(list, "; Kommentar\r\n  lesen  \r\n\r\n* noch einer\r\ngehen\r\n");
  QString message;
  TModalAnswer answer([&](QWidget* box) {
    if (auto* m = qobject_cast<QMessageBox*>(box)) message = m->text();
    box->close();
  });
  window->RunFullForms(QString::fromStdString(list.string()));
  EXPECT_EQ(answer.Seen(), 1);
  const fs::path out = Dir() / "liste.txf";
  EXPECT_EQ(message.toStdString(), FullFormsMessage(2, out.string()));
  EXPECT_TRUE(message.startsWith("2 Verben verarbeitet"));
  TVerbGen verb;
  EXPECT_EQ(ReadAll(out), FullFormRecord(verb, "lesen") + FullFormRecord(verb, "gehen"));
  EXPECT_EQ(ReadInfiListFile(), list);
  EXPECT_FALSE(window->BatchRunning());
}

TEST_F(WindowCommandsTest, UnreadableListIsReportedAndWritesNothing) {
  const fs::path missing = Dir() / "fehlt.txt";
  QString message;
  TModalAnswer answer([&](QWidget* box) {
    if (auto* m = qobject_cast<QMessageBox*>(box)) message = m->text();
    box->close();
  });
  window->RunFullForms(QString::fromStdString(missing.string()));
  EXPECT_EQ(answer.Seen(), 1);
  EXPECT_TRUE(message.contains("fehlt.txt")) << message.toStdString();
  EXPECT_FALSE(fs::exists(Dir() / "fehlt.txf"));
}

TEST(WindowSitemap, OnlyOnTheDevelopersMachineAndOpenedOnTheDesktop) {
  ASSERT_TRUE(kPrepared);
  guitest::TPrivateSettings settings;
  {
    TForm1 plain;
    EXPECT_FALSE(guitest::FindAction(&plain, "Sitemap erzeugen")->isVisible());
  }
  // The machine's registry replacement names the developer; the project folder holds the list.
  guitest::SetEnv("BEUGWERK_SYSTEM_CONFIG", (settings.Dir() / "system").string());
  fs::create_directories(settings.Dir() / "system");
  ASSERT_TRUE(RegWriteString(u"R\\", u"", u"JX"));
  ASSERT_TRUE(IsDeveloperMachine(true));
  const fs::path project = settings.Dir() / "projekt";
  fs::create_directories(project);
  WriteAll(project / "verben.txt", "lesen\r\nsich waschen\r\n");
  RegWriteString(u"MAINWIN", u"ProjectFolder", project.u16string());
  TUrlSink sink;
  QDesktopServices::setUrlHandler("file", &sink, "Open");
  {
    TForm1 w;
    QAction* sitemap = guitest::FindAction(&w, "Sitemap erzeugen");
    ASSERT_TRUE(sitemap->isVisible());
    sitemap->trigger();
  }
  QDesktopServices::unsetUrlHandler("file");
  ::unsetenv("BEUGWERK_SYSTEM_CONFIG");
  IsDeveloperMachine(true);
  const fs::path out = project / "web" / "beugwerkSitemap.xml";
  ASSERT_TRUE(fs::exists(out));
  EXPECT_NE(ReadAll(out).find("?infi=sich%20waschen</loc>"), std::string::npos);
  ASSERT_EQ(sink.Opened.size(), 1);
  EXPECT_EQ(sink.Opened[0].toLocalFile().toStdString(), out.string());
}

}  // namespace

#include "MainWindowCommands_test.moc"
