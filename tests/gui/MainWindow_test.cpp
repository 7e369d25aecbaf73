// SPDX-License-Identifier: MIT
// The main window: the first page and the history at first start and with a remembered history,
// typing and Enter, the orthography menu, the zoom levels, the article address and links to the
// online page, the page of all forms, pages above setHtml's limit, the reload of a changed verb
// lists file, and the history and placement kept across two runs of separate processes.
#include "app/MainWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>

#include "GuiTestSupport.h"
#include "common/ZT.Resources.h"
#include "common/ZTHistCmb.h"
#include "common/_0ZTINI.h"
#include "engine/_ZTVerbLists.h"

namespace {

using guitest::Caption;
using guitest::PageText;
using guitest::WaitFor;

const bool kPrepared = guitest::PrepareBrowser();

constexpr char16_t kHistSection[] = u"Form1\\HistoryComboBox1";

using guitest::FindAction;

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(kPrepared); }
  // The window, shown, with its first page loaded.
  TForm1& Open() {
    window = std::make_unique<TForm1>();
    window->show();
    EXPECT_TRUE(WaitFor([&] { return Caption(*window).startsWith("Deutsche Verbformen: "); }))
        << Caption(*window).toStdString();
    return *window;
  }
  // Types the phrase into the input box and presses Enter, as a person does.
  void Type(const QString& phrase) {
    QLineEdit* edit = window->InputBox()->lineEdit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, phrase);
    QTest::keyClick(edit, Qt::Key_Return);
  }
  bool CaptionIs(const QString& phrase) {
    return WaitFor([&] { return Caption(*window) == "Deutsche Verbformen: " + phrase; });
  }
  void TearDown() override {
    if (window) {
      window->close();
      window.reset();
    }
  }

  guitest::TPrivateSettings settings;
  std::unique_ptr<TForm1> window;
};

TEST_F(MainWindowTest, FirstStartShowsTheTryOutPhraseAndRemembersIt) {
  TForm1& w = Open();
  EXPECT_EQ(Caption(w), "Deutsche Verbformen: den Generator ausprobieren");
  EXPECT_EQ(w.InputText(), "den Generator ausprobieren");
  EXPECT_EQ(w.InputBox()->HistoryStrings(), QStringList{"den Generator ausprobieren"});
  EXPECT_EQ(GetUserSettings().readString(kHistSection, u"Hist", u""),
            u"den Generator ausprobieren");
  EXPECT_FALSE(w.SitemapAction()->isVisible());  // not the developer's machine
  EXPECT_FALSE(w.windowIcon().isNull());
}

TEST_F(MainWindowTest, RememberedHistoryWithEmptyInputShowsTheTryOutPageAndStaysEmpty) {
  // An empty first entry: the box starts empty, the history is not.
  GetUserSettings().writeString(kHistSection, u"Hist", u"\r\nlesen");
  GetUserSettings().Save();
  TForm1& w = Open();
  EXPECT_EQ(Caption(w), "Deutsche Verbformen: den Generator ausprobieren");
  EXPECT_EQ(w.InputText(), "");
  EXPECT_TRUE(w.InputBox()->HistoryStrings().contains("lesen"));
}

TEST_F(MainWindowTest, EnterShowsThePhraseAndPutsItFirstInTheHistory) {
  TForm1& w = Open();
  Type("sich anziehen");
  ASSERT_TRUE(CaptionIs("sich anziehen"));
  EXPECT_EQ(w.InputBox()->HistoryStrings().value(0), "sich anziehen");
  EXPECT_TRUE(PageText(w.Browser()).contains("ziehe mich an"))
      << PageText(w.Browser()).toStdString();
  // Choosing an older entry from the list shows it again.
  const int i = w.InputBox()->findText("den Generator ausprobieren");
  ASSERT_GE(i, 0);
  w.InputBox()->setCurrentIndex(i);
  emit w.InputBox()->activated(i);
  EXPECT_TRUE(CaptionIs("den Generator ausprobieren"));
}

QToolButton* Button(TForm1& w, const QString& hint) {
  for (QToolButton* b : w.findChildren<QToolButton*>())
    if (b->toolTip() == hint) return b;
  return nullptr;
}

TEST_F(MainWindowTest, BackAndForwardFollowTheBrowser) {
  TForm1& w = Open();
  QToolButton* back = Button(w, "Zurück");
  QToolButton* forward = Button(w, "Vorwärts");
  ASSERT_TRUE(back && forward);
  EXPECT_FALSE(back->isEnabled());
  EXPECT_FALSE(forward->isEnabled());
  Type("lesen");
  ASSERT_TRUE(CaptionIs("lesen"));
  EXPECT_TRUE(WaitFor([&] { return back->isEnabled(); }));
  back->click();
  EXPECT_TRUE(CaptionIs("den Generator ausprobieren"));
  EXPECT_TRUE(WaitFor([&] { return forward->isEnabled() && !back->isEnabled(); }));
  forward->click();
  EXPECT_TRUE(CaptionIs("lesen"));
  EXPECT_TRUE(WaitFor([&] { return !forward->isEnabled(); }));
}

TEST_F(MainWindowTest, SwissOrthographyRegeneratesThePageWithSs) {
  TForm1& w = Open();
  Type("heißen");
  ASSERT_TRUE(CaptionIs("heißen"));
  ASSERT_TRUE(PageText(w.Browser()).contains("heißt"));
  QAction* swiss = FindAction(&w, "vor der Reform, Schweiz");
  ASSERT_NE(swiss, nullptr);
  QSignalSpy shown(&w, &TForm1::PageShown);
  swiss->trigger();
  EXPECT_TRUE(swiss->isChecked());
  EXPECT_FALSE(FindAction(&w, "aktuell")->isChecked());
  EXPECT_EQ(w.Orthography(), ChOrtho);
  ASSERT_TRUE(WaitFor([&] { return PageText(w.Browser()).contains("heisst"); }));
  EXPECT_FALSE(PageText(w.Browser()).contains(QChar(0x00DF))) << "no ß left on the Swiss page";
  FindAction(&w, "aktuell")->trigger();
  EXPECT_TRUE(WaitFor([&] { return PageText(w.Browser()).contains("heißt"); }));
}

TEST_F(MainWindowTest, ZoomLevelsStopAtBothEndsAndFollowTheScreen) {
  TForm1& w = Open();
  const double dpi = w.screen()->logicalDotsPerInch();
  QAction* larger = FindAction(&w, "Größer");
  QAction* smaller = FindAction(&w, "Kleiner");
  QAction* normal = FindAction(&w, "Normal");
  ASSERT_TRUE(larger && smaller && normal);
  // The keys of the menu: Ctrl and plus, Ctrl and the keypad's divide key, Ctrl and 0.
  EXPECT_EQ(larger->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Plus));
  EXPECT_EQ(smaller->shortcut(),
            QKeySequence(QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Slash)));
  EXPECT_EQ(normal->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_0));
  struct Row {
    const char* step;
    QAction* action;
    int times;
    TZoom zoom;
    double factor;
  } rows[] = {
      {"Größer x5 from normal", larger, 5, z_largest, 1.8},
      {"Kleiner x4 from largest", smaller, 4, z_smallest, 0.6},
      {"Kleiner once more", smaller, 1, z_smallest, 0.6},
      {"Größer once", larger, 1, z_small, 0.8},
      {"Normal", normal, 1, z_normal, 1.0},
  };
  for (const Row& r : rows) {
    for (int i = 0; i < r.times; ++i) r.action->trigger();
    EXPECT_EQ(w.Zoom(), r.zoom) << r.step;
    EXPECT_NEAR(w.AppliedZoomFactor(), r.factor * dpi / 96.0, 1e-4) << r.step;
  }
  // A new page keeps the level.
  larger->trigger();
  Type("lesen");
  ASSERT_TRUE(CaptionIs("lesen"));
  EXPECT_NEAR(w.AppliedZoomFactor(), 1.3 * dpi / 96.0, 1e-4);
}

TEST_F(MainWindowTest, ArticleAddressShowsTheBuiltInArticle) {
  TForm1& w = Open();
  ASSERT_TRUE(
      w.ShowHtml("<html><head><title>Test</title></head><body>"
                 "<a id=\"a\" href=\"C:\\xxx\\Beugwerk.htm\">Artikel</a></body></html>"));
  ASSERT_TRUE(WaitFor([&] { return Caption(w) == "Test"; }));
  w.Browser()->page()->runJavaScript("document.getElementById('a').click()");
  const QString article = QString::fromUtf8(FindTextResource("VERBHTM")->data());
  const QString title = article.section("<title>", 1).section("</title>", 0, 0);
  ASSERT_FALSE(title.isEmpty());
  EXPECT_TRUE(WaitFor([&] { return Caption(w) == title; })) << Caption(w).toStdString();
}

QString ResourceTitle(const char* name) {
  const QString page = QString::fromUtf8(FindTextResource(name)->data());
  return page.section("<title>", 1).section("</title>", 0, 0);
}

// The built-in pages link to each other and to the generator as the online pages do; the
// window shows its own copies and conjugates in place.
TEST_F(MainWindowTest, LinksOfTheOnlinePagesStayInTheWindow) {
  TForm1& w = Open();
  struct Row {
    const char* href;
    QString caption;
  } rows[] = {
      {"beugwerk.htm", ResourceTitle("VERBHTM")},
      {"beugwerkhelp.htm#habensein", ResourceTitle("BeugwerkHelp")},
      {"https://beugwerk.de/beugwerkde/beugwerk.htm", ResourceTitle("VERBHTM")},
      {"verbformen-deutsch.htm?infi=sich%20entscheiden", "Deutsche Verbformen: sich entscheiden"},
      {"verbformen-deutsch.htm", "Deutsche Verbformen: sich entscheiden"},
  };
  for (const Row& r : rows) {
    ASSERT_TRUE(w.ShowHtml(QString("<html><head><title>Start</title></head><body>"
                                   "<a id=\"a\" href=\"%1\">x</a></body></html>")
                               .arg(r.href)));
    ASSERT_TRUE(WaitFor([&] { return Caption(w) == "Start"; })) << r.href;
    w.Browser()->page()->runJavaScript("document.getElementById('a').click()");
    EXPECT_TRUE(WaitFor([&] { return Caption(w) == r.caption; }))
        << r.href << ": " << Caption(w).toStdString();
  }
  EXPECT_EQ(w.InputText(), "sich entscheiden");
}

TEST_F(MainWindowTest, HelpShowsTheBuiltInHelpPage) {
  TForm1& w = Open();
  FindAction(&w, "Hilfe")->trigger();
  const QString help = QString::fromUtf8(FindTextResource("BeugwerkHelp")->data());
  const QString title = help.section("<title>", 1).section("</title>", 0, 0);
  EXPECT_TRUE(WaitFor([&] { return Caption(w) == title; })) << Caption(w).toStdString();
}

TEST_F(MainWindowTest, InfoOpensTheAboutBox) {
  TForm1& w = Open();
  QString shown;
  guitest::TModalAnswer answer([&](QWidget* box) {
    shown = box->windowTitle();
    box->close();
  });
  FindAction(&w, "&Info")->trigger();  // returns when the box is closed
  EXPECT_EQ(shown, "Info");
}

TEST(OnlinePagePhrase, DecodesUtf8ElseWindows1252) {
  struct Row {
    const char* url;
    const char* phrase;
  } rows[] = {
      {"https://beugwerk.de/beugwerkde/verbformen-deutsch.htm?infi=%C3%BCber'setzen",
       "über'setzen"},
      {"https://beugwerk.de/beugwerkde/verbformen-deutsch.htm?infi=%27%FCbersetzen", "'übersetzen"},
      {"https://beugwerk.de/beugwerkde/verbformen-deutsch.htm?infi=sich+waschen", "sich waschen"},
      {"https://beugwerk.de/beugwerkde/verbformen-deutsch.htm?x=1&infi=sich%20waschen",
       "sich waschen"},
      {"https://beugwerk.de/beugwerkde/verbformen-deutsch.htm?infi=", ""},
      {"http://127.0.0.1:8080/beugwerkde/verbformen-deutsch.htm?infi=lesen&ortho=alt", "lesen"},
      {"https://beugwerk.de/beugwerkde/beugwerkhelp.htm?infi=lesen", ""},
      {"https://beugwerk.de/", ""},
      // what the server refuses names no phrase
      {"https://beugwerk.de/beugwerkde/verbformen-deutsch.htm?infi=a&infi=b", ""},
      {"https://beugwerk.de/beugwerkde/verbformen-deutsch.htm?infi=lesen&ortho=xx", ""},
      {"https://beugwerk.de/beugwerkde/verbformen-deutsch.htm?infi=%81", ""},
  };
  for (const Row& r : rows)
    EXPECT_EQ(OnlinePagePhrase(QUrl(QString::fromUtf8(r.url))), QString::fromUtf8(r.phrase))
        << r.url;
  const QString page = "https://beugwerk.de/beugwerkde/verbformen-deutsch.htm?infi=";
  EXPECT_EQ(OnlinePagePhrase(QUrl(page + QString(160, 'a'))), QString(160, 'a'));
  EXPECT_EQ(OnlinePagePhrase(QUrl(page + QString(161, 'a'))), "") << "longer than the form allows";
}

// A file named for the verb lists that cannot be used: the window says so and works on with
// the built-in lists.
TEST_F(MainWindowTest, UnusableVerbListsFileIsReported) {
  const std::filesystem::path missing = settings.Dir() / "fehlt.vlx";
  guitest::SetEnv("BEUGWERK_VERBLISTS", missing.string());
  QString message;
  guitest::TModalAnswer answer([&](QWidget* box) {
    if (auto* m = qobject_cast<QMessageBox*>(box)) message = m->text();
    box->close();
  });
  Open();
  ASSERT_TRUE(WaitFor([&] { return answer.Seen() == 1; })) << "no message";
  EXPECT_TRUE(message.contains(QString::fromStdString(missing.string()))) << message.toStdString();
  EXPECT_TRUE(message.contains("Datei oder Verzeichnis nicht gefunden")) << message.toStdString();
  EXPECT_TRUE(message.contains("Es gelten die eingebauten Verblisten.")) << message.toStdString();
  Type("sich waschen");
  EXPECT_TRUE(CaptionIs("sich waschen"));
  EXPECT_TRUE(VerbListsPath.empty());
}

TEST_F(MainWindowTest, LinkToTheOnlinePageConjugatesInPlace) {
  TForm1& w = Open();
  ASSERT_TRUE(w.ShowHtml(
      "<html><head><title>Test</title></head><body><a id=\"a\" href=\"https://beugwerk.de/"
      "beugwerkde/verbformen-deutsch.htm?infi=%C3%BCber%27setzen\">über'setzen</a></body></html>"));
  ASSERT_TRUE(WaitFor([&] { return Caption(w) == "Test"; }));
  w.Browser()->page()->runJavaScript("document.getElementById('a').click()");
  EXPECT_TRUE(CaptionIs("über'setzen")) << Caption(w).toStdString();
  EXPECT_EQ(w.InputText(), "über'setzen");
}

// A form that is no infinitive names its verb under the message; the link conjugates it.
TEST_F(MainWindowTest, FormNamesItsVerbAndTheLinkConjugatesIt) {
  TForm1& w = Open();
  Type("ging");
  ASSERT_TRUE(CaptionIs("ging"));
  ASSERT_TRUE(WaitFor([&] {
    return PageText(w.Browser()).contains(QStringLiteral("„ging“ ist eine Form von gehen"));
  }));
  w.Browser()->page()->runJavaScript("document.querySelector('a[href*=\"infi=gehen\"]').click()");
  EXPECT_TRUE(CaptionIs("gehen")) << Caption(w).toStdString();
  EXPECT_EQ(w.InputText(), "gehen");
}

// The page ends with the link to the page of all forms; the link shows that page once, the
// "Ansicht" item "Alle Formen" for every page until it is switched off.
TEST_F(MainWindowTest, AllFormsByTheLinkAndByTheViewMenu) {
  TForm1& w = Open();
  Type("lesen");
  ASSERT_TRUE(CaptionIs("lesen"));
  ASSERT_TRUE(PageText(w.Browser()).contains("alle Formen (Konjunktiv der Vergangenheit"));
  EXPECT_FALSE(PageText(w.Browser()).contains("Vorgangspassiv"));
  w.Browser()->page()->runJavaScript(
      "Array.from(document.links).find(a => a.href.includes('alle=1')).click()");
  ASSERT_TRUE(WaitFor([&] { return PageText(w.Browser()).contains("Vorgangspassiv"); }));
  EXPECT_EQ(w.InputText(), "lesen");
  EXPECT_FALSE(w.AllFormsShown());

  QAction* all = FindAction(&w, "Alle Formen");
  ASSERT_NE(all, nullptr);
  ASSERT_TRUE(all->isCheckable());
  Type("gehen");
  ASSERT_TRUE(CaptionIs("gehen"));
  EXPECT_FALSE(PageText(w.Browser()).contains("Konjunktiv II Futur I"));
  all->trigger();
  EXPECT_TRUE(w.AllFormsShown());
  ASSERT_TRUE(WaitFor([&] { return PageText(w.Browser()).contains("Konjunktiv II Futur I"); }));
  EXPECT_TRUE(PageText(w.Browser()).contains("bilden kein Passiv"));
  Type("fahren");
  ASSERT_TRUE(CaptionIs("fahren"));
  EXPECT_TRUE(WaitFor([&] { return PageText(w.Browser()).contains("Konjunktiv I Futur II"); }));
  all->trigger();
  EXPECT_TRUE(WaitFor([&] { return !PageText(w.Browser()).contains("Konjunktiv I Futur II"); }));
}

TEST_F(MainWindowTest, PageAboveTheSetHtmlLimitIsShownWhole) {
  TForm1& w = Open();
  QString big = "<html><head><title>Groß</title></head><body>";
  const QString row = "<p>Zeile mit Umlauten äöü und ß, damit UTF-8 zählt.</p>\n";
  while (big.size() < 3 * 1024 * 1024) big += row;
  big += "<p id=\"end\">Ende</p></body></html>";
  ASSERT_TRUE(w.ShowHtml(big));
  EXPECT_TRUE(WaitFor([&] { return Caption(w) == "Groß"; }));
  EXPECT_TRUE(PageText(w.Browser()).endsWith("Ende"));
}

TEST_F(MainWindowTest, ChangedVerbListsFileIsReloadedWhenTheProgramIsActivated) {
  const std::filesystem::path copy = settings.Dir() / "Beugwerk.VLX";
  std::filesystem::copy_file(BEUGWERK_SOURCE_DIR "/data/Beugwerk.VLX", copy);
  guitest::SetEnv("BEUGWERK_VERBLISTS", copy.string());
  TForm1& w = Open();
  QSignalSpy shown(&w, &TForm1::PageShown);
  emit qApp->applicationStateChanged(Qt::ApplicationActive);
  QTest::qWait(300);
  EXPECT_EQ(shown.count(), 0) << "an unchanged file changes nothing";
  std::filesystem::last_write_time(
      copy, std::filesystem::last_write_time(copy) + std::chrono::seconds(5));
  emit qApp->applicationStateChanged(Qt::ApplicationActive);
  EXPECT_TRUE(WaitFor([&] { return shown.count() > 0; }));
  EXPECT_FALSE(CheckVerbListsFile()) << "the new time is recorded";
}

// Two runs as separate processes sharing one settings folder: this binary started again with
// BEUGWERK_GUI_RUN set runs only the step of that run.
TEST_F(MainWindowTest, TwoRunsStep) {
  const QByteArray run = qgetenv("BEUGWERK_GUI_RUN");
  if (run.isEmpty()) GTEST_SKIP() << "a step of HistoryAndPlacementSurviveARestart";
  if (run == "1") {
    TForm1& w = Open();
    Type("sich waschen");
    ASSERT_TRUE(CaptionIs("sich waschen"));
    w.setGeometry(40, 50, 700, 660);
    ASSERT_TRUE(WaitFor([&] { return w.size() == QSize(700, 660); }));
    w.close();
  } else {
    TForm1& w = Open();
    EXPECT_EQ(w.InputBox()->HistoryStrings(),
              (QStringList{"sich waschen", "den Generator ausprobieren"}));
    EXPECT_EQ(w.InputText(), "sich waschen");
    EXPECT_TRUE(CaptionIs("sich waschen"));
    EXPECT_EQ(w.size(), QSize(700, 660));
  }
}

TEST_F(MainWindowTest, HistoryAndPlacementSurviveARestart) {
  if (!qgetenv("BEUGWERK_GUI_RUN").isEmpty()) GTEST_SKIP();
  for (const char* step : {"1", "2"}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("BEUGWERK_GUI_RUN", step);  // XDG_CONFIG_HOME: this test's private folder
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=MainWindowTest.TwoRunsStep"});
    ASSERT_TRUE(p.waitForStarted(10000));
    const bool finished = p.waitForFinished(120000);
    if (!finished) p.kill();
    const QString output = QString::fromLocal8Bit(p.readAll());
    ASSERT_TRUE(finished) << "run " << step << " did not end:\n" << output.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << "run " << step << ":\n" << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test")) << output.toStdString();
  }
}

}  // namespace
