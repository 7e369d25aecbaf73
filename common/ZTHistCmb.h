// SPDX-License-Identifier: MIT
// The history combo box: an editable combo box whose list holds the latest entries, newest
// first, kept across runs in the user settings (section HistName, key "Hist"). It brings its
// own context menu (cut, copy with or without stress marks, paste, delete, edit the history)
// and a small in-place editor of the history list.
//
//   THistoryComboBox box(&window);
//   box.SetHistName(u"Form1\\HistoryComboBox1");
//   box.LoadItems();                  // also done on first show or focus
//   box.setEditText("lesen");
//   box.SaveItems();                  // "lesen" is entry 0 and stored
//   connect(&box, &THistoryComboBox::EnterPressed, ...);
#pragma once

#include <QComboBox>
#include <QLocale>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <string>
#include <string_view>

class QListWidget;
class QMenu;
class TUserSettings;

// Deletes the combining marks U+0300, U+0301, U+0307, U+030A, U+0323, U+0331 and U+0332; with
// cyrillic also Ё/ё become Е/е. Reports whether anything changed.
bool RemoveCombiningStress(QString& text, bool cyrillic);

// The pilcrow form of the stored history: entries joined by CR LF, line breaks inside an entry
// written as ¶ (see ZTHistCmb.cpp), and back.
QString EncodeHistory(const QStringList& entries);
QStringList DecodeHistory(const QString& value, bool crOnly);

class TCustomHistoryComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit TCustomHistoryComboBox(QWidget* parent = nullptr);
  ~TCustomHistoryComboBox() override;

  // Loads the history from the settings (nothing when MaxHistory is 0); FItemsLoaded set.
  void LoadItems();
  // Records the current text as the newest entry and stores the history.
  void SaveItems();

  // The item list, for callers that fill or inspect it directly. Setting it counts as loaded.
  QStringList HistoryStrings() const;
  void SetHistoryStrings(const QStringList& entries);

  const std::u16string& HistName() const { return FHistName; }
  void SetHistName(std::u16string_view name) { FHistName = name; }
  quint16 MaxHistory() const { return FMaxHistory; }
  void SetMaxHistory(quint16 n) { FMaxHistory = n; }
  bool CrOnly() const { return FCrOnly; }
  void SetCrOnly(bool v) { FCrOnly = v; }
  int LeftMargin() const { return FLeftMargin; }
  void SetLeftMargin(int px);
  Qt::Alignment Alignment() const { return FAlignment; }
  void SetAlignment(Qt::Alignment a);
  bool AutoCompleteMatchCases() const { return FAutoCompleteMatchCases; }
  void SetAutoCompleteMatchCases(bool v) { FAutoCompleteMatchCases = v; }
  bool LangShortcuts() const { return FLangShortcuts; }
  void SetLangShortcuts(bool v) { FLangShortcuts = v; }
  bool Changed() const { return FChanged; }
  bool ItemsLoaded() const { return FItemsLoaded; }
  // Edit selection after the last key release (or mouse leave): start * 65536 + length.
  int Tag() const { return FTag; }

  // Where the history is kept: by default the program's settings object (GetUserSettings).
  // SetSettings(nullptr) keeps it in memory only.
  void SetSettings(TUserSettings* settings);
  TUserSettings* Settings() const;

  void SwitchLanguage(int key) { (void)key; }

  // The shared context menu, prepared for this box (captions shown or hidden by the input
  // language), and the history editor.
  QMenu* PrepareContextMenu();
  void ShowContextMenu(const QPoint& globalPos);
  void OpenHistoryEditor();
  QListWidget* HistoryEditor() const;  // nullptr when closed

  // The keyboard input language the context menu asks; tests and special set-ups replace it.
  // The default reads QGuiApplication::inputMethod()->locale().
  static void SetInputLanguageSource(std::function<QLocale()> source);

 signals:
  // Enter was pressed (the history is already saved unless Shift was held).
  void EnterPressed(Qt::KeyboardModifiers modifiers);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void leaveEvent(QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void NoteSelection();
  void AfterKey();
  void CloseEditor(bool commit);

  Qt::Alignment FAlignment = Qt::AlignLeft | Qt::AlignVCenter;
  quint16 FMaxHistory = 40;
  std::u16string FHistName;
  int FLeftMargin = 3;
  bool FChanged = false;
  bool FCrOnly = false;
  bool FLangShortcuts = true;
  bool FAutoCompleteMatchCases = false;
  bool FItemsLoaded = false;
  bool FOwnSettings = false;  // SetSettings was called
  TUserSettings* FSettings = nullptr;
  int FTag = 0;

  friend class THistoryEditor;
};

// The published form; all behaviour lives in TCustomHistoryComboBox.
class THistoryComboBox : public TCustomHistoryComboBox {
  Q_OBJECT

 public:
  using TCustomHistoryComboBox::TCustomHistoryComboBox;
};
