// SPDX-License-Identifier: MIT
// The history box on a real X display: saving and loading through settings files, the entry
// rules, the pilcrow form, keys, the context menu and the history editor.
#include "common/ZTHistCmb.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "common/_0ZTINI.h"

namespace fs = std::filesystem;

namespace {

const std::u16string kSection = u"Form1\\HistoryComboBox1";

std::u16string U(const QString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), s.size());
}

// A window with one history box bound to its own settings file.
class HistoryBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::path(BEUGWERK_TEST_OUTPUT) /
          ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(dir);
    fs::create_directories(dir);
    settings = std::make_unique<TUserSettingsFile>(dir / "settings.ini");
    window = std::make_unique<QWidget>();
    window->resize(400, 300);
    auto* layout = new QVBoxLayout(window.get());
    box = new THistoryComboBox(window.get());
    box->SetHistName(kSection);
    box->SetSettings(settings.get());
    layout->addWidget(box);
    layout->addStretch();
  }
  void TearDown() override {
    window.reset();
    settings.reset();
  }

  void Show() {
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    box->setFocus();
    QTest::qWait(20);
  }

  void Type(const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    box->lineEdit()->clear();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return, mods);
  }

  QString Stored() {
    return QString::fromStdU16String(settings->readString(kSection, u"Hist", u""));
  }

  fs::path dir;
  std::unique_ptr<TUserSettingsFile> settings;
  std::unique_ptr<QWidget> window;
  THistoryComboBox* box = nullptr;
};

TEST_F(HistoryBoxTest, FirstStartHasNoEntries) {
  Show();
  EXPECT_TRUE(box->ItemsLoaded());
  EXPECT_EQ(box->count(), 0);
  EXPECT_EQ(box->currentText(), "");
}

TEST_F(HistoryBoxTest, TypingOneMoreCharacterReplacesTheEntryJustSaved) {
  Show();
  QSignalSpy entered(box, &THistoryComboBox::EnterPressed);
  Type("gehen");
  Type("les");
  Type("lese");
  EXPECT_EQ(box->HistoryStrings(), (QStringList{"lese", "gehen"}));
  EXPECT_EQ(entered.count(), 3);
  // Enter leaves the whole text selected, ready to be overtyped.
  EXPECT_EQ(box->lineEdit()->selectedText(), "lese");
  EXPECT_EQ(Stored(), "lese\r\ngehen");
}

TEST_F(HistoryBoxTest, AKnownTextMovesToTheTopWhateverItsCase) {
  Show();
  box->SetHistoryStrings({"sich anziehen", "Lesen", "gehen"});
  box->setEditText("LESEN");
  box->SaveItems();
  EXPECT_EQ(box->HistoryStrings(), (QStringList{"LESEN", "sich anziehen", "gehen"}));
  EXPECT_EQ(box->currentIndex(), 0);
  EXPECT_EQ(box->currentText(), "LESEN");
}

TEST_F(HistoryBoxTest, FortyEntriesAtMostTheOldestDrops) {
  QStringList forty;
  for (int i = 40; i >= 1; --i) forty << QString("verb%1").arg(i);  // newest first
  box->SetHistoryStrings(forty);
  box->setEditText("neu");
  box->SaveItems();
  QStringList h = box->HistoryStrings();
  ASSERT_EQ(h.size(), 40);
  EXPECT_EQ(h.front(), "neu");
  EXPECT_EQ(h[1], "verb40");
  EXPECT_EQ(h.back(), "verb2");  // verb1 was the oldest

  box->SetMaxHistory(3);
  box->setEditText("drei");
  box->SaveItems();
  EXPECT_EQ(box->HistoryStrings(), (QStringList{"drei", "neu", "verb40"}));
}

TEST_F(HistoryBoxTest, LoadingDropsEmptyLinesButTheFirst) {
  settings->writeString(kSection, u"Hist", u"\r\nlesen\r\n\r\ngehen\r\n");
  box->LoadItems();
  EXPECT_EQ(box->HistoryStrings(), (QStringList{"", "lesen", "gehen"}));
  EXPECT_EQ(box->currentIndex(), 0);
  EXPECT_FALSE(box->Changed());
  // More than the limit on disk is kept on loading; the next save cuts it.
  QStringList many;
  for (int i = 0; i < 45; ++i) many << QString("v%1").arg(i);
  settings->writeString(kSection, u"Hist", U(many.join("\r\n")));
  box->LoadItems();
  EXPECT_EQ(box->count(), 45);
  EXPECT_EQ(box->currentText(), "v0");
  box->SaveItems();
  EXPECT_EQ(box->count(), 40);
}

TEST_F(HistoryBoxTest, PilcrowFormOfLineBreaks) {
  struct Row {
    bool crOnly;
    QString stored;
    QStringList shown;
  };
  const Row rows[] = {
      {false, "a¶¶b\r\nc", {"a\r\nb", "c"}},
      {false, "ein ¶ Zeichen", {"ein ¶ Zeichen"}},
      {false, "a¶¶¶b", {"a\r\n¶b"}},
      {true, "a¶b\r\nc", {"a\rb", "c"}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.stored.toStdString());
    box->SetCrOnly(r.crOnly);
    settings->writeString(kSection, u"Hist", U(r.stored));
    box->LoadItems();
    EXPECT_EQ(box->HistoryStrings(), r.shown);
    // Saving the first entry again writes back what was read.
    box->setEditText(box->itemText(0));
    box->SaveItems();
    EXPECT_EQ(Stored(), r.stored);
  }
}

TEST(HistoryEncoding, LineBreaksNeverSplitAnEntry) {
  const QStringList entries{"zwei\r\nZeilen", "nur\rCR", "nur\nLF", "¶"};
  const QString value = EncodeHistory(entries);
  EXPECT_EQ(value, "zwei¶¶Zeilen\r\nnur¶CR\r\nnur¶LF\r\n¶");
  EXPECT_EQ(DecodeHistory(value, false).size(), entries.size());
  EXPECT_EQ(DecodeHistory(value, false)[0], "zwei\r\nZeilen");
}

TEST_F(HistoryBoxTest, HistoryKeptAcrossTwoSettingsObjects) {
  Show();
  Type("sich anziehen");
  Type("mit dem Taxi fahren");
  box->SetHistoryStrings(box->HistoryStrings() << "zwei\r\nZeilen");
  box->setEditText("lesen");
  box->SaveItems();
  settings->Save();
  window.reset();
  settings.reset();

  // The value stays on one line of the file.
  std::ifstream in(dir / "settings.ini", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_NE(text.str().find("Hist=lesen\xEF\xBF\xB1\xEF\xBF\xB2"), std::string::npos) << text.str();

  TUserSettingsFile second(dir / "settings.ini");
  QWidget w2;
  THistoryComboBox box2(&w2);
  box2.SetHistName(kSection);
  box2.SetSettings(&second);
  box2.LoadItems();
  EXPECT_EQ(box2.HistoryStrings(),
            (QStringList{"lesen", "mit dem Taxi fahren", "sich anziehen", "zwei\r\nZeilen"}));
  EXPECT_EQ(box2.currentText(), "lesen");
}

TEST_F(HistoryBoxTest, ABoxDestroyedBeforeLoadingLeavesTheStoredHistory) {
  settings->writeString(kSection, u"Hist", u"lesen\r\ngehen");
  {
    QWidget w;
    THistoryComboBox never(&w);
    never.SetHistName(kSection);
    never.SetSettings(settings.get());
  }
  EXPECT_EQ(Stored(), "lesen\r\ngehen");
  // Saving before any load reads the stored entries first.
  QWidget w;
  THistoryComboBox late(&w);
  late.SetHistName(kSection);
  late.SetSettings(settings.get());
  late.setEditText("fahren");
  late.SaveItems();
  EXPECT_EQ(Stored(), "fahren\r\nlesen\r\ngehen");
}

TEST_F(HistoryBoxTest, WithoutSettingsOrWithLimitZeroNothingIsStored) {
  box->SetSettings(nullptr);
  box->SetHistoryStrings({"a¶¶b", "", "x"});  // design-time items
  box->LoadItems();
  EXPECT_EQ(box->HistoryStrings(), (QStringList{"a\r\nb", "x"}));
  box->setEditText("neu");
  box->SaveItems();
  EXPECT_EQ(box->HistoryStrings(), (QStringList{"neu", "a\r\nb", "x"}));
  EXPECT_EQ(Stored(), "");

  box->SetSettings(settings.get());
  box->SetMaxHistory(0);
  box->setEditText("nie");
  box->SaveItems();
  EXPECT_EQ(Stored(), "");
  EXPECT_EQ(box->count(), 3);
}

TEST_F(HistoryBoxTest, KeyRules) {
  Show();
  box->SetHistoryStrings({"lesen", "gehen", "fahren"});
  box->setCurrentIndex(-1);
  box->setEditText("sehen");

  // Down saves the typed text first, then moves on to the entry below it.
  QTest::keyClick(box, Qt::Key_Down);
  EXPECT_EQ(box->HistoryStrings(), (QStringList{"sehen", "lesen", "gehen", "fahren"}));
  EXPECT_EQ(box->currentIndex(), 1);
  EXPECT_EQ(box->currentText(), "lesen");
  EXPECT_EQ(Stored(), "sehen\r\nlesen\r\ngehen\r\nfahren");

  // Ctrl+Del deletes the selected entry, the text stays.
  QTest::keyClick(box, Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(box->HistoryStrings(), (QStringList{"sehen", "gehen", "fahren"}));
  EXPECT_EQ(box->currentText(), "lesen");
  EXPECT_EQ(box->currentIndex(), -1);
  QTest::keyClick(box, Qt::Key_Delete, Qt::ControlModifier);  // nothing selected: nothing deleted
  EXPECT_EQ(box->count(), 3);

  // Ctrl+A selects all; the tag holds start * 65536 + length after the key release.
  box->lineEdit()->setCursorPosition(2);
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(box->lineEdit()->selectedText(), "lesen");
  EXPECT_EQ(box->Tag(), 5);
  box->lineEdit()->setSelection(1, 3);
  QTest::keyClick(box, Qt::Key_Shift);
  EXPECT_EQ(box->Tag(), 1 * 65536 + 3);

  // Shift+Enter is reported but saves nothing.
  QSignalSpy entered(box, &THistoryComboBox::EnterPressed);
  Type("ziehen", Qt::ShiftModifier);
  ASSERT_EQ(entered.count(), 1);
  EXPECT_EQ(entered[0][0].value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
  EXPECT_EQ(box->HistoryStrings(), (QStringList{"sehen", "gehen", "fahren"}));
}

TEST_F(HistoryBoxTest, EnterNeverReachesTheWindow) {
  // A key the box left unconsumed would travel on to the window.
  struct Catcher : QWidget {
    int returns = 0;
    void keyPressEvent(QKeyEvent* e) override {
      if (e->key() == Qt::Key_Return) ++returns;
    }
  };
  auto* catcher = new Catcher;
  auto* layout = new QVBoxLayout(catcher);
  auto* b = new THistoryComboBox(catcher);
  b->SetSettings(nullptr);
  layout->addWidget(b);
  catcher->show();
  QTest::keyClicks(b, "lesen");
  QTest::keyClick(b, Qt::Key_Return);
  EXPECT_EQ(catcher->returns, 0);
  EXPECT_EQ(b->HistoryStrings(), QStringList{"lesen"});
  delete catcher;
}

TEST_F(HistoryBoxTest, LeavingTheBoxSavesTheHistory) {
  auto* other = new QLineEdit(window.get());
  window->layout()->addWidget(other);
  Show();
  box->lineEdit()->setText("schwimmen");
  other->setFocus();
  QTest::qWait(20);
  EXPECT_EQ(Stored(), "schwimmen");
}

TEST_F(HistoryBoxTest, ContextMenuShowsStressVariantsOnlyForRussian) {
  struct Row {
    QLocale locale;
    bool russian;
  };
  const Row rows[] = {{QLocale(QLocale::German, QLocale::Germany), false},
                      {QLocale(QLocale::English, QLocale::UnitedStates), false},
                      {QLocale(QLocale::Russian, QLocale::Russia), true}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.locale.name().toStdString());
    TCustomHistoryComboBox::SetInputLanguageSource([&] { return r.locale; });
    QMenu* menu = box->PrepareContextMenu();
    QStringList visible;
    for (QAction* a : menu->actions())
      if (a->isVisible()) visible << (a->isSeparator() ? "-" : a->text());
    if (r.russian)
      EXPECT_EQ(visible,
                (QStringList{"Ausschneiden", "Kopieren mit Betonung", "Kopieren ohne Betonung",
                             "Einfügen", "Löschen", "-", "History bearbeiten"}));
    else
      EXPECT_EQ(visible, (QStringList{"Ausschneiden", "Kopieren", "Einfügen", "Löschen", "-",
                                      "History bearbeiten"}));
  }
  TCustomHistoryComboBox::SetInputLanguageSource(nullptr);
}

TEST_F(HistoryBoxTest, ContextMenuCopiesWithAndWithoutStress) {
  Show();
  TCustomHistoryComboBox::SetInputLanguageSource(
      [] { return QLocale(QLocale::Russian, QLocale::Russia); });
  QMenu* menu = box->PrepareContextMenu();
  auto action = [&](const QString& caption) {
    for (QAction* a : menu->actions())
      if (a->text() == caption) return a;
    return static_cast<QAction*>(nullptr);
  };
  const QString stressed = QString::fromUtf8("ёлка мо\u0301локо");
  box->lineEdit()->setText(stressed);
  box->lineEdit()->deselect();
  action("Kopieren ohne Betonung")->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("елка молоко"));
  action("Kopieren mit Betonung")->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), stressed);
  box->lineEdit()->setSelection(0, 4);
  action("Ausschneiden")->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), QString::fromUtf8("ёлка"));
  EXPECT_EQ(box->lineEdit()->text(), QString::fromUtf8(" мо\u0301локо"));
  box->lineEdit()->setCursorPosition(0);
  action("Löschen")->trigger();  // nothing selected: nothing deleted
  EXPECT_EQ(box->lineEdit()->text(), QString::fromUtf8(" мо\u0301локо"));
  action("Einfügen")->trigger();
  EXPECT_EQ(box->lineEdit()->text(), QString::fromUtf8("ёлка мо\u0301локо"));
  TCustomHistoryComboBox::SetInputLanguageSource(nullptr);
}

TEST_F(HistoryBoxTest, RightClickOpensTheSharedMenuForThisBox) {
  Show();
  TCustomHistoryComboBox::SetInputLanguageSource(
      [] { return QLocale(QLocale::German, QLocale::Germany); });
  QContextMenuEvent ev(QContextMenuEvent::Mouse, QPoint(5, 5), box->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(box, &ev);
  QMenu* menu = box->PrepareContextMenu();
  QTest::qWait(30);
  EXPECT_TRUE(menu->isVisible());
  menu->hide();
  // A second box shares the same menu.
  THistoryComboBox other(window.get());
  other.SetSettings(nullptr);
  EXPECT_EQ(other.PrepareContextMenu(), menu);
  TCustomHistoryComboBox::SetInputLanguageSource(nullptr);
}

TEST(RemoveCombiningStress, Table) {
  struct Row {
    const char* in;
    bool cyrillic;
    const char* out;
    bool changed;
  };
  const Row rows[] = {
      {"ё\u0301лка", true, "елка", true},
      {"ёлка", false, "ёлка", false},
      {"Ёж", true, "Еж", true},
      {"a\u0300b\u0307c\u030Ad\u0323e\u0331f\u0332g", false, "abcdefg", true},
      {"be'tonen", true, "be'tonen", false},
      {"e\u0302", true, "e\u0302", false},  // circumflex is no stress mark
  };
  for (const Row& r : rows) {
    QString s = QString::fromUtf8(r.in);
    EXPECT_EQ(RemoveCombiningStress(s, r.cyrillic), r.changed) << r.in;
    EXPECT_EQ(s, QString::fromUtf8(r.out)) << r.in;
  }
}

TEST_F(HistoryBoxTest, HistoryEditorDeletesLinesAndSavesOnClose) {
  Show();
  box->SetHistoryStrings({"lesen", "gehen", "fahren", "sehen"});
  box->setEditText("lesen");
  box->OpenHistoryEditor();
  QListWidget* editor = box->HistoryEditor();
  ASSERT_NE(editor, nullptr);
  QTest::qWait(20);
  EXPECT_TRUE(editor->hasFocus());
  EXPECT_EQ(editor->count(), 4);
  EXPECT_EQ(editor->width(), box->width());
  EXPECT_EQ(editor->geometry().top(), box->geometry().bottom() + 1);
  EXPECT_EQ(editor->palette().color(QPalette::Base), QColor(255, 240, 240));
  EXPECT_GE(editor->geometry().bottom(), 0);
  EXPECT_LE(editor->geometry().bottom() + 1, window->height() - 4);

  editor->item(1)->setSelected(true);
  editor->item(2)->setSelected(true);
  fs::create_directories(BEUGWERK_TEST_OUTPUT);
  EXPECT_TRUE(window->grab().save(
      QString::fromStdString((fs::path(BEUGWERK_TEST_OUTPUT) / "history-editor.png").string())));
  QTest::keyClick(editor, Qt::Key_Delete);
  EXPECT_EQ(editor->count(), 2);
  QTest::keyClick(editor, Qt::Key_Escape);
  QTest::qWait(20);
  EXPECT_EQ(box->HistoryEditor(), nullptr);
  EXPECT_EQ(box->HistoryStrings(), (QStringList{"lesen", "sehen"}));
  EXPECT_EQ(Stored(), "lesen\r\nsehen");
}

TEST_F(HistoryBoxTest, HistoryEditorMovesUpInAShortWindow) {
  window->resize(300, 120);
  Show();
  box->SetHistoryStrings({"a", "b", "c"});
  box->OpenHistoryEditor();
  QListWidget* editor = box->HistoryEditor();
  ASSERT_NE(editor, nullptr);
  EXPECT_LT(editor->geometry().top(), box->geometry().bottom() + 1);
  EXPECT_TRUE(editor->geometry().bottom() + 1 == window->height() - 4 ||
              editor->geometry().top() == 0);
  // Leaving the editor closes it as Esc does.
  box->setFocus();
  QTest::qWait(20);
  EXPECT_EQ(box->HistoryEditor(), nullptr);
}

}  // namespace
