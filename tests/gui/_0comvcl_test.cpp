// SPDX-License-Identifier: MIT
// The message boxes: the placeholder, the text rules ("$sound ", "!"), buttons and results,
// placement by Align, Prompting and the open time. Modal boxes are answered from a timer.
#include "common/_0comvcl.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "common/_0ZTINI.h"
#include "common/_ZT_cmn.h"

namespace {

// Calls answer with the next message box once it is shown.
void WhenBoxShows(std::function<void(QMessageBox*)> answer) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    answer(box);
  });
  timer->start();
}

QAbstractButton* ButtonCaptioned(QMessageBox* box, const QString& caption) {
  for (QAbstractButton* b : box->buttons())
    if (b->text() == caption) return b;
  return nullptr;
}

QStringList Captions(QMessageBox* box) {
  QStringList list;
  for (QAbstractButton* b : box->buttons()) list << b->text();
  list.sort();
  return list;
}

struct Seen {
  bool shown = false;
  QString text;
  QString title;
  QStringList captions;
  QString defaultCaption;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QRect geometry;
  bool prompting = false;
  Qt::TextFormat format = Qt::AutoText;
};

// Opens the next box, notes what it shows and clicks the button captioned click (empty: Esc).
void Answer(Seen& seen, const QString& click) {
  WhenBoxShows([&seen, click](QMessageBox* box) {
    seen.shown = true;
    seen.text = box->text();
    seen.title = box->windowTitle();
    seen.captions = Captions(box);
    seen.defaultCaption = box->defaultButton() ? box->defaultButton()->text() : QString();
    seen.icon = box->icon();
    seen.geometry = box->geometry();
    seen.prompting = MsgBox().Prompting();
    seen.format = box->textFormat();
    if (click.isEmpty())
      QTest::keyClick(box, Qt::Key_Escape);
    else if (QAbstractButton* b = ButtonCaptioned(box, click))
      b->click();
    else
      box->done(0);
  });
}

TEST(MsgBoxPlaceholder, EveryDialogRaisesMsgBoxNotAssigned) {
  TMsgBox placeholder;
  const std::vector<std::function<int()>> calls = {
      [&] { return placeholder.Info(u"Achtung"); },
      [&] { return placeholder.ErrInfo(u"Achtung"); },
      [&] { return placeholder.Dlg(u"Achtung", mtWarning, Btns({mbOK}), mbOK); },
      [&] { return placeholder.YesNo(u"Achtung"); },
      [&] { return placeholder.YesCancel(u"Achtung"); },
      [&] { return placeholder.NoYes(u"Achtung"); },
      [&] { return placeholder.YesNoCancel(u"Achtung", true); },
      [&] { return placeholder.NoYesCancel(u"Achtung"); },
      [&] { return placeholder.YesNoAllCancel(u"Achtung"); },
      [&] { return placeholder.YesToAllNoCancel(u"Achtung", mbYes); },
      [&] { return placeholder.IgnoreCancel(u"Achtung"); },
      [&] { return placeholder.OkCancel(u"Achtung"); },
  };
  for (size_t i = 0; i < calls.size(); ++i) {
    try {
      calls[i]();
      ADD_FAILURE() << "call " << i << " did not raise";
    } catch (const EMsgBoxNotAssigned& e) {
      EXPECT_STREQ(e.what(), "Achtung\rMsgBox not assigned") << "call " << i;
    }
  }
  EXPECT_EQ(placeholder.TestInfo(u"nichts"), 0);
}

TEST(MsgBoxObject, WindowedBoxesAreInstalledAndPlaceholderComesBack) {
  EXPECT_NE(dynamic_cast<TMsgBoxWin*>(&MsgBox()), nullptr);
  SetMsgBox(nullptr);
  EXPECT_THROW(MsgBox().Info(u"x"), EMsgBoxNotAssigned);
  InstallMsgBoxWin();
  EXPECT_NE(dynamic_cast<TMsgBoxWin*>(&MsgBox()), nullptr);
}

TEST(MsgBoxObject, SettingsMessagesReachTheBox) {
  InstallMsgBoxWin();
  const std::filesystem::path dir = std::filesystem::path(BEUGWERK_TEST_OUTPUT) / "settings";
  std::filesystem::create_directories(dir);
  const auto file = dir / "kaputt.ini";
  {
    std::ofstream out(file, std::ios::binary);
    // A UTF-8 container whose second line is no UTF-8.
    out << std::string("DLZTU8\0\1", 8) << "\r\nName=M\xFCller\r\nLeft=1\r\n";
  }
  Seen seen;
  Answer(seen, "OK");
  TUserSettingsFile settings(file);
  ASSERT_TRUE(seen.shown);
  EXPECT_TRUE(seen.text.contains("nicht interpretierbares Zeichen")) << seen.text.toStdString();
  EXPECT_EQ(settings.readInteger(u"", u"Left", 0), 1);
  SetSettingsMessageCallback(nullptr);
}

TEST(MsgBoxWin, SoundPrefixAndExclamationMark) {
  struct Row {
    const char16_t* msg;
    const char* sound;  // nullptr: none played
    bool wait;
    const char* shown;  // nullptr: no dialog
  };
  const Row rows[] = {
      {u"$Ding", "Ding", false, nullptr},
      {u"$Ding ", "Ding", false, nullptr},
      {u"$!Gong Bitte warten", "Gong", true, "Bitte warten"},
      {u"$Ding !Achtung", "Ding", false, "Achtung"},
      {u"!Achtung", nullptr, false, "Achtung"},
      {u"!!zweimal", nullptr, false, "!zweimal"},
      {u"!", nullptr, false, nullptr},
      {u"", nullptr, false, nullptr},
      {u"Preis 5 $ netto", nullptr, false, "Preis 5 $ netto"},
  };
  TMsgBoxWin box;
  QString played;
  bool waited = false;
  int soundCalls = 0;
  box.SetSoundPlayer([&](const QString& name, bool wait) {
    played = name;
    waited = wait;
    ++soundCalls;
  });
  for (const Row& r : rows) {
    SCOPED_TRACE(QString::fromStdU16String(r.msg).toStdString());
    soundCalls = 0;
    Seen seen;
    if (r.shown) Answer(seen, "OK");
    const int result = box.Info(r.msg);
    EXPECT_EQ(soundCalls, r.sound ? 1 : 0);
    if (r.sound) {
      EXPECT_EQ(played, r.sound);
      EXPECT_EQ(waited, r.wait);
    }
    if (r.shown) {
      EXPECT_TRUE(seen.shown);
      EXPECT_EQ(seen.text, r.shown);
      EXPECT_EQ(result, mrOk);
    } else {
      EXPECT_EQ(result, 0);
    }
  }
}

TEST(MsgBoxWin, ButtonsDefaultsAndResults) {
  using Call = std::function<int(TMsgBoxWin&)>;
  struct Row {
    const char* name;
    Call call;
    QStringList captions;
    QString defaultCaption;
    QMessageBox::Icon icon;
    QString click;  // empty: Esc
    int result;
  };
  const Row rows[] = {
      {"Info",
       [](TMsgBoxWin& b) { return b.Info(u"i"); },
       {"OK"},
       "OK",
       QMessageBox::Information,
       "OK",
       mrOk},
      {"Info Esc",
       [](TMsgBoxWin& b) { return b.Info(u"i"); },
       {"OK"},
       "OK",
       QMessageBox::Information,
       "",
       mrOk},
      {"ErrInfo",
       [](TMsgBoxWin& b) { return b.ErrInfo(u"e"); },
       {"OK"},
       "OK",
       QMessageBox::Critical,
       "OK",
       mrOk},
      {"YesNo",
       [](TMsgBoxWin& b) { return b.YesNo(u"?"); },
       {"&Ja", "&Nein"},
       "&Ja",
       QMessageBox::Question,
       "&Nein",
       mrNo},
      {"YesNo Esc",
       [](TMsgBoxWin& b) { return b.YesNo(u"?"); },
       {"&Ja", "&Nein"},
       "&Ja",
       QMessageBox::Question,
       "",
       mrNo},
      {"NoYes",
       [](TMsgBoxWin& b) { return b.NoYes(u"?"); },
       {"&Ja", "&Nein"},
       "&Nein",
       QMessageBox::Question,
       "&Ja",
       mrYes},
      {"YesCancel",
       [](TMsgBoxWin& b) { return b.YesCancel(u"?"); },
       {"&Ja", "Abbrechen"},
       "&Ja",
       QMessageBox::Question,
       "",
       mrCancel},
      {"OkCancel",
       [](TMsgBoxWin& b) { return b.OkCancel(u"?"); },
       {"Abbrechen", "OK"},
       "OK",
       QMessageBox::Information,
       "OK",
       mrOk},
      {"IgnoreCancel",
       [](TMsgBoxWin& b) { return b.IgnoreCancel(u"?"); },
       {"&Ignorieren", "Abbrechen"},
       "&Ignorieren",
       QMessageBox::Question,
       "&Ignorieren",
       mrIgnore},
      {"YesNoCancel",
       [](TMsgBoxWin& b) { return b.YesNoCancel(u"?"); },
       {"&Ja", "&Nein", "Abbrechen"},
       "&Ja",
       QMessageBox::Question,
       "Abbrechen",
       mrCancel},
      {"YesNoCancel retry",
       [](TMsgBoxWin& b) { return b.YesNoCancel(u"?", true); },
       {"&Ja", "&Nein", "&Wiederholen", "Abbrechen"},
       "&Ja",
       QMessageBox::Question,
       "&Wiederholen",
       mrRetry},
      {"NoYesCancel",
       [](TMsgBoxWin& b) { return b.NoYesCancel(u"?"); },
       {"&Ja", "&Nein", "Abbrechen"},
       "&Nein",
       QMessageBox::Question,
       "&Ja",
       mrYes},
      {"YesNoAllCancel retry",
       [](TMsgBoxWin& b) { return b.YesNoAllCancel(u"?", true); },
       {"&Alle", "&Ja", "&Nein", "&Wiederholen", "Abbrechen"},
       "&Nein",
       QMessageBox::Question,
       "&Alle",
       mrAll},
      {"YesToAllNoCancel",
       [](TMsgBoxWin& b) { return b.YesToAllNoCancel(u"?", mbYesToAll); },
       {"&Ja", "&Nein", "Abbrechen", "Ja für a&lle"},
       "Ja für a&lle",
       QMessageBox::Question,
       "Ja für a&lle",
       mrYesToAll},
  };
  TMsgBoxWin box;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Seen seen;
    Answer(seen, r.click);
    const int result = r.call(box);
    ASSERT_TRUE(seen.shown);
    QStringList expected = r.captions;
    expected.sort();
    EXPECT_EQ(seen.captions, expected);
    EXPECT_EQ(seen.defaultCaption, r.defaultCaption);
    EXPECT_EQ(seen.icon, r.icon);
    EXPECT_EQ(result, r.result);
    EXPECT_EQ(seen.title, QString::fromStdU16String(ProgramBaseName()));
  }
}

TEST(MsgBoxWin, TextIsNeverTakenAsMarkup) {
  TMsgBoxWin box;
  Seen seen;
  Answer(seen, "OK");
  box.Info(u"<b>sich</b> anziehen");
  EXPECT_EQ(seen.format, Qt::PlainText);
  EXPECT_EQ(seen.text, "<b>sich</b> anziehen");
}

TEST(MsgBoxWin, AlignPlacesOnlyTheNextDialog) {
  QWidget form;
  form.setGeometry(200, 150, 600, 450);
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  const QRect r = form.geometry();
  TMsgBoxWin box;

  box.SetAlign(ma_RightBottom);
  Seen first;
  Answer(first, "OK");
  box.Info(u"unten rechts");
  ASSERT_TRUE(first.shown);
  EXPECT_EQ(first.geometry.right(), r.right());
  EXPECT_EQ(first.geometry.bottom(), r.bottom());

  form.activateWindow();  // without a window manager nobody gives the activation back
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  Seen second;
  Answer(second, "OK");
  box.Info(u"wieder in der Mitte");
  ASSERT_TRUE(second.shown);
  EXPECT_LE(std::abs(second.geometry.center().x() - r.center().x()), 1);
  EXPECT_LE(std::abs(second.geometry.center().y() - r.center().y()), 1);

  // An aligned box that would leave the screen is pulled back onto it.
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  form.setGeometry(screen.right() - 100, 100, 300, 200);
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  box.SetAlign(ma_leftTop);
  Seen third;
  Answer(third, "OK");
  box.Info(u"Dieser Text ist breit genug, dass das Fenster rechts hinausragen würde.");
  ASSERT_TRUE(third.shown);
  EXPECT_LE(third.geometry.right(), screen.right());
}

TEST(MsgBoxWin, PromptingEventsAndOpenTime) {
  TMsgBoxWin box;
  std::vector<std::string> events;
  box.OnStartDialog = [&](TMsgBoxWin& sender) {
    EXPECT_EQ(&sender, &box);
    events.push_back("start");
  };
  box.OnEndDialog = [&](TMsgBoxWin&) { events.push_back("end"); };
  Seen seen;
  WhenBoxShows([&](QMessageBox* b) {
    seen.prompting = box.Prompting();
    QTimer::singleShot(150, b, [b] {
      b->button(QMessageBox::Ok) ? b->button(QMessageBox::Ok)->click()
                                 : b->buttons().front()->click();
    });
  });
  EXPECT_FALSE(box.Prompting());
  EXPECT_EQ(box.Info(u"kurz"), mrOk);
  EXPECT_TRUE(seen.prompting);
  EXPECT_FALSE(box.Prompting());
  EXPECT_GE(box.DialogDurationTotal * 86400.0, 0.1);
  EXPECT_LT(box.DialogDurationTotal * 86400.0, 30.0);
  // A message that shows nothing still reports start and end.
  box.Info(u"");
  EXPECT_EQ(events, (std::vector<std::string>{"start", "end", "start", "end"}));
}

TEST(MsgBoxWin, EndEventRunsWhenTheDialogRaises) {
  TMsgBoxWin box;
  int ends = 0;
  box.OnEndDialog = [&](TMsgBoxWin&) { ++ends; };
  box.SetSoundPlayer([](const QString&, bool) { throw std::runtime_error("kein Ton"); });
  EXPECT_THROW(box.Info(u"$Ding Text"), std::runtime_error);
  EXPECT_EQ(ends, 1);
  EXPECT_FALSE(box.Prompting());
}

TEST(MsgBoxWin, NoticeCentredOnTheMainWindow) {
  QWidget main;
  main.setGeometry(100, 100, 700, 500);
  main.show();
  SetMainForm(&main);
  Seen seen;
  Answer(seen, "OK");
  ShowMessageCentered(u"Die Vollformen sind geschrieben.");
  SetMainForm(nullptr);
  ASSERT_TRUE(seen.shown);
  EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
  EXPECT_EQ(seen.captions, QStringList{"OK"});
  EXPECT_LE(std::abs(seen.geometry.center().x() - main.geometry().center().x()), 1);
  EXPECT_LE(std::abs(seen.geometry.center().y() - main.geometry().center().y()), 1);
}

TEST(MsgBoxWin, Screenshot) {
  TMsgBoxWin box;
  const std::filesystem::path out = BEUGWERK_TEST_OUTPUT;
  std::filesystem::create_directories(out);
  bool saved = false;
  WhenBoxShows([&](QMessageBox* b) {
    saved = b->grab().save(QString::fromStdString((out / "msgbox.png").string()));
    ButtonCaptioned(b, "Abbrechen")->click();
  });
  box.YesNoAllCancel(u"!Die Datei „verben.txf“ gibt es schon. Überschreiben?", true);
  EXPECT_TRUE(saved);
}

}  // namespace
