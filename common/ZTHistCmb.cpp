// SPDX-License-Identifier: MIT
#include "common/ZTHistCmb.h"

#include <QApplication>
#include <QClipboard>
#include <QCompleter>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>

#include "common/_0ZTINI.h"

namespace {

constexpr QChar kPilcrow(0x00B6);

QString ToQ(std::u16string_view s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

std::u16string FromQ(const QString& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()),
                        static_cast<size_t>(s.size()));
}

// The list text split as a string list takes it: at CR, LF or CR LF; a break at the very end
// opens no further entry.
QStringList SplitLines(const QString& text) {
  QStringList lines;
  qsizetype start = 0;
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n) {
    QChar c = text[i];
    if (c == u'\r' || c == u'\n') {
      lines << text.mid(start, i - start);
      if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < n) lines << text.mid(start);
  return lines;
}

std::function<QLocale()>& InputLanguageSource() {
  static std::function<QLocale()> source;
  return source;
}

QLocale CurrentInputLanguage() {
  if (InputLanguageSource()) return InputLanguageSource()();
  if (QInputMethod* im = QGuiApplication::inputMethod()) return im->locale();
  return QLocale::system();
}

// Windows language identifier 1049: Russian as spoken in Russia.
bool IsRussianLayout(const QLocale& l) {
  return l.language() == QLocale::Russian &&
         (l.territory() == QLocale::Russia || l.territory() == QLocale::AnyTerritory);
}

// One context menu serves every history box; it lives while at least one box exists.
struct TSharedMenu {
  QPointer<QMenu> Menu;
  QPointer<TCustomHistoryComboBox> Owner;
  QAction* Cut = nullptr;
  QAction* CopyStressed = nullptr;
  QAction* CopyPlain = nullptr;
  QAction* Copy = nullptr;
  QAction* Paste = nullptr;
  QAction* Delete = nullptr;
  QAction* EditHistory = nullptr;
  int Boxes = 0;
};

TSharedMenu& Shared() {
  static TSharedMenu shared;
  return shared;
}

void CopyWithoutStress(QLineEdit* edit) {
  QString text = edit->hasSelectedText() ? edit->selectedText() : edit->text();
  RemoveCombiningStress(text, true);
  QGuiApplication::clipboard()->setText(text);
}

void BuildSharedMenu() {
  TSharedMenu& s = Shared();
  if (s.Menu) return;
  s.Menu = new QMenu();
  QMenu* m = s.Menu;
  auto owner = [] { return Shared().Owner.data(); };
  s.Cut = m->addAction(QStringLiteral("Ausschneiden"), [owner] {
    if (auto* b = owner()) b->lineEdit()->cut();
  });
  s.CopyStressed = m->addAction(QStringLiteral("Kopieren mit Betonung"), [owner] {
    if (auto* b = owner()) {
      if (!b->lineEdit()->hasSelectedText()) b->lineEdit()->selectAll();
      b->lineEdit()->copy();
    }
  });
  s.CopyPlain = m->addAction(QStringLiteral("Kopieren ohne Betonung"), [owner] {
    if (auto* b = owner()) CopyWithoutStress(b->lineEdit());
  });
  s.Copy = m->addAction(QStringLiteral("Kopieren"), [owner] {
    if (auto* b = owner()) CopyWithoutStress(b->lineEdit());
  });
  s.Paste = m->addAction(QStringLiteral("Einfügen"), [owner] {
    if (auto* b = owner()) b->lineEdit()->paste();
  });
  s.Delete = m->addAction(QStringLiteral("Löschen"), [owner] {
    // Only the selection: QLineEdit::del alone would take the next character instead.
    if (auto* b = owner(); b && b->lineEdit()->hasSelectedText()) b->lineEdit()->del();
  });
  m->addSeparator();
  s.EditHistory = m->addAction(QStringLiteral("History bearbeiten"), [owner] {
    if (auto* b = owner()) b->OpenHistoryEditor();
  });
}

}  // namespace

// --- text helpers -----------------------------------------------------------------------------
bool RemoveCombiningStress(QString& text, bool cyrillic) {
  QString out;
  out.reserve(text.size());
  for (QChar c : text) {
    switch (c.unicode()) {
      case 0x0300:
      case 0x0301:
      case 0x0307:
      case 0x030A:
      case 0x0323:
      case 0x0331:
      case 0x0332:
        continue;
      case 0x0401:
        out += cyrillic ? QChar(0x0415) : c;
        break;
      case 0x0451:
        out += cyrillic ? QChar(0x0435) : c;
        break;
      default:
        out += c;
    }
  }
  bool changed = out != text;
  text = out;
  return changed;
}

// Every line break inside an entry becomes a pilcrow, so CR LF is stored as ¶¶. (Turning only
// CR into ¶ would leave the LF of a CR LF in the value, which splits the entry in two when the
// history is read back.)
QString EncodeHistory(const QStringList& entries) {
  QString value;
  for (int i = 0; i < entries.size(); ++i) {
    QString e = entries[i];
    e.replace(u'\r', kPilcrow).replace(u'\n', kPilcrow);
    if (i > 0) value += QStringLiteral("\r\n");
    value += e;
  }
  return value;
}

namespace {
// With crOnly each ¶ is a CR; otherwise only ¶¶ is a line break (CR LF), a single ¶ stays.
QString DecodeEntry(QString e, bool crOnly) {
  if (crOnly) return e.replace(kPilcrow, u'\r');
  return e.replace(QString(2, kPilcrow), QStringLiteral("\r\n"));
}
}  // namespace

QStringList DecodeHistory(const QString& value, bool crOnly) {
  QStringList entries = SplitLines(value);
  for (QString& e : entries) e = DecodeEntry(e, crOnly);
  return entries;
}

// --- the history editor -------------------------------------------------------------------------
class THistoryEditor : public QListWidget {
 public:
  THistoryEditor(TCustomHistoryComboBox* box, QWidget* parent) : QListWidget(parent), FBox(box) {}

  void Close(bool commit) {
    if (FClosing) return;
    FClosing = true;
    if (commit && FBox) {
      QStringList lines;
      for (int i = 0; i < count(); ++i) lines << item(i)->text();
      FBox->SetHistoryStrings(lines);
      FBox->SaveItems();
    }
    hide();
    deleteLater();
  }

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (e->key() == Qt::Key_Delete) {
      qDeleteAll(selectedItems());
      e->accept();
      return;
    }
    if (e->key() == Qt::Key_Escape) {
      e->accept();
      Close(true);
      return;
    }
    QListWidget::keyPressEvent(e);
  }
  void focusOutEvent(QFocusEvent* e) override {
    QListWidget::focusOutEvent(e);
    if (e->reason() != Qt::PopupFocusReason) Close(true);
  }

 private:
  QPointer<TCustomHistoryComboBox> FBox;
  bool FClosing = false;
};

namespace {
QPointer<THistoryEditor>& Editor() {
  static QPointer<THistoryEditor> editor;
  return editor;
}
}  // namespace

// --- TCustomHistoryComboBox ---------------------------------------------------------------------
TCustomHistoryComboBox::TCustomHistoryComboBox(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  if (completer()) completer()->setCaseSensitivity(Qt::CaseInsensitive);
  lineEdit()->setTextMargins(FLeftMargin, 0, 0, 0);
  lineEdit()->installEventFilter(this);
  ++Shared().Boxes;
}

TCustomHistoryComboBox::~TCustomHistoryComboBox() {
  if (Editor() && Editor()->parent() && Shared().Owner == this) Editor()->Close(false);
  // Saving a history that was never read would overwrite the stored one with a single entry.
  if (FItemsLoaded) SaveItems();
  TSharedMenu& s = Shared();
  if (--s.Boxes == 0 && s.Menu) delete s.Menu.data();
}

void TCustomHistoryComboBox::SetSettings(TUserSettings* settings) {
  FSettings = settings;
  FOwnSettings = true;
}

TUserSettings* TCustomHistoryComboBox::Settings() const {
  if (FOwnSettings) return FSettings;
  try {
    return &GetUserSettings();
  } catch (const ESettingsError&) {
    return nullptr;  // no home folder: the history lives in memory only
  }
}

void TCustomHistoryComboBox::SetLeftMargin(int px) {
  FLeftMargin = px;
  lineEdit()->setTextMargins(px, 0, 0, 0);
}

void TCustomHistoryComboBox::SetAlignment(Qt::Alignment a) {
  FAlignment = a;
  lineEdit()->setAlignment(a);
}

QStringList TCustomHistoryComboBox::HistoryStrings() const {
  QStringList list;
  for (int i = 0; i < count(); ++i) list << itemText(i);
  return list;
}

void TCustomHistoryComboBox::SetHistoryStrings(const QStringList& entries) {
  const QString text = currentText();
  const QSignalBlocker block(this);
  clear();
  addItems(entries);
  setCurrentIndex(-1);
  setEditText(text);
  FItemsLoaded = true;
}

void TCustomHistoryComboBox::LoadItems() {
  if (FMaxHistory == 0) return;
  QStringList decoded;
  if (TUserSettings* settings = Settings()) {
    decoded = DecodeHistory(ToQ(settings->readString(FHistName, u"Hist", u"")), FCrOnly);
  } else {
    for (const QString& e : HistoryStrings()) decoded << DecodeEntry(e, FCrOnly);
  }
  for (qsizetype i = decoded.size() - 1; i >= 1; --i)
    if (decoded[i].isEmpty()) decoded.removeAt(i);
  {
    const QSignalBlocker block(this);
    clear();
    addItems(decoded);
    if (count() > 0) {
      setCurrentIndex(0);
      setEditText(itemText(0));
    }
  }
  FChanged = false;
  FItemsLoaded = true;
}

void TCustomHistoryComboBox::SaveItems() {
  if (FMaxHistory == 0) return;
  QLineEdit* edit = lineEdit();
  const QString t = edit->text();
  const int selStart = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
  const int selLength = edit->hasSelectedText() ? static_cast<int>(edit->selectedText().size()) : 0;
  if (!FItemsLoaded && Settings()) {
    // Read the stored history first, or saving would replace it by this one entry.
    LoadItems();
    edit->setText(t);
  }
  {
    const QSignalBlocker block(this);
    // Typing one more character replaces the entry just saved instead of adding another.
    if (count() > 0 && !t.isEmpty() && itemText(0) == t.chopped(1)) removeItem(0);
    int i = findText(t, Qt::MatchFixedString);  // case-insensitive, whole text
    if (i >= 0) removeItem(i);
    insertItem(0, t);
    while (count() > FMaxHistory) removeItem(count() - 1);
    setCurrentIndex(0);
    setEditText(t);
    if (selLength > 0)
      edit->setSelection(selStart, selLength);
    else
      edit->setCursorPosition(selStart);
  }
  if (TUserSettings* settings = Settings()) {
    settings->writeString(FHistName, u"Hist", FromQ(EncodeHistory(HistoryStrings())));
  }
  FChanged = false;
}

// --- keys, focus, mouse -----------------------------------------------------------------------
void TCustomHistoryComboBox::keyPressEvent(QKeyEvent* e) {
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  const int key = e->key();
  if (ctrl && key == Qt::Key_A) {
    lineEdit()->selectAll();
    e->accept();
    return;
  }
  if (ctrl && key == Qt::Key_Delete) {
    if (currentIndex() >= 0) {
      const QString text = currentText();
      const QSignalBlocker block(this);
      removeItem(currentIndex());
      setCurrentIndex(-1);
      setEditText(text);
      FChanged = true;
    }
    e->accept();
    return;
  }
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    const Qt::KeyboardModifiers mods = e->modifiers();
    if (!(mods & Qt::ShiftModifier)) SaveItems();
    lineEdit()->selectAll();
    e->accept();  // never reaches the window (no default button fires)
    emit EnterPressed(mods);
    return;
  }
  if (!ctrl && key == Qt::Key_Down && !(e->modifiers() & Qt::AltModifier)) {
    // The text becomes entry 0 first; moving down then shows the entry below it.
    SaveItems();
  }
  QComboBox::keyPressEvent(e);
  AfterKey();
}

void TCustomHistoryComboBox::AfterKey() {
  const int i = currentIndex();
  if (i < 0) return;
  const QString entry = itemText(i);
  const Qt::CaseSensitivity cs = FAutoCompleteMatchCases ? Qt::CaseInsensitive : Qt::CaseSensitive;
  QLineEdit* edit = lineEdit();
  if (edit->text().compare(entry, cs) == 0 && edit->text() != entry) {
    const int start = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    const int length = edit->hasSelectedText() ? static_cast<int>(edit->selectedText().size()) : 0;
    edit->setText(entry);
    if (length > 0)
      edit->setSelection(start, length);
    else
      edit->setCursorPosition(start);
  }
}

void TCustomHistoryComboBox::NoteSelection() {
  QLineEdit* edit = lineEdit();
  const int start = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
  const int length = edit->hasSelectedText() ? static_cast<int>(edit->selectedText().size()) : 0;
  FTag = start * 65536 + length;
}

void TCustomHistoryComboBox::keyReleaseEvent(QKeyEvent* e) {
  QComboBox::keyReleaseEvent(e);
  NoteSelection();
}

void TCustomHistoryComboBox::leaveEvent(QEvent* e) {
  QComboBox::leaveEvent(e);
  if (hasFocus()) NoteSelection();
}

void TCustomHistoryComboBox::focusInEvent(QFocusEvent* e) {
  if (!FItemsLoaded) LoadItems();
  QComboBox::focusInEvent(e);
}

void TCustomHistoryComboBox::focusOutEvent(QFocusEvent* e) {
  QComboBox::focusOutEvent(e);
  // A popup (the list, the context menu) only borrows the focus.
  if (e->reason() != Qt::PopupFocusReason && FItemsLoaded) SaveItems();
}

void TCustomHistoryComboBox::showEvent(QShowEvent* e) {
  QComboBox::showEvent(e);
  if (!FItemsLoaded) LoadItems();
}

bool TCustomHistoryComboBox::eventFilter(QObject* watched, QEvent* e) {
  if (watched == lineEdit() && e->type() == QEvent::ContextMenu) {
    ShowContextMenu(static_cast<QContextMenuEvent*>(e)->globalPos());
    return true;
  }
  return QComboBox::eventFilter(watched, e);
}

// --- context menu and editor --------------------------------------------------------------------
void TCustomHistoryComboBox::contextMenuEvent(QContextMenuEvent* e) {
  ShowContextMenu(e->globalPos());
  e->accept();
}

void TCustomHistoryComboBox::SetInputLanguageSource(std::function<QLocale()> source) {
  InputLanguageSource() = std::move(source);
}

QMenu* TCustomHistoryComboBox::PrepareContextMenu() {
  BuildSharedMenu();
  TSharedMenu& s = Shared();
  s.Owner = this;
  const bool russian = IsRussianLayout(CurrentInputLanguage());
  s.CopyStressed->setVisible(russian);
  s.CopyPlain->setVisible(russian);
  s.Copy->setVisible(!russian);
  return s.Menu;
}

void TCustomHistoryComboBox::ShowContextMenu(const QPoint& globalPos) {
  PrepareContextMenu()->popup(globalPos);
}

QListWidget* TCustomHistoryComboBox::HistoryEditor() const {
  return Editor() && !Editor()->isHidden() ? Editor().data() : nullptr;
}

void TCustomHistoryComboBox::OpenHistoryEditor() {
  if (Editor()) Editor()->Close(true);
  QWidget* form = window();
  auto* list = new THistoryEditor(this, form);
  Editor() = list;
  Shared().Owner = this;
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setFont(font());
  QPalette pal = list->palette();
  pal.setColor(QPalette::Base, QColor(255, 240, 240));
  list->setPalette(pal);
  list->setAutoFillBackground(true);
  list->setToolTip(QStringLiteral(
      "Sie können eine oder mehrere Zeilen auswählen und mit der Taste <Entf> entfernen."));
  list->addItems(HistoryStrings());
  // Ten whole items high, as wide as the box, directly below it; moved up when the form
  // is too short, so that it ends 4 pixels above the bottom.
  const int itemHeight =
      list->count() > 0 ? list->sizeHintForRow(0) : QFontMetrics(font()).height() + 2;
  const int height = itemHeight * 10 + 2 * list->frameWidth();
  QPoint pos = form == this ? QPoint(0, this->height()) : mapTo(form, QPoint(0, this->height()));
  if (pos.y() + height > form->height() - 4) pos.setY(std::max(0, form->height() - 4 - height));
  list->setGeometry(pos.x(), pos.y(), width(), height);
  list->show();
  list->raise();
  list->setFocus(Qt::OtherFocusReason);
}

void TCustomHistoryComboBox::CloseEditor(bool commit) {
  if (Editor()) Editor()->Close(commit);
}
