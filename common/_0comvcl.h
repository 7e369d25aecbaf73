// SPDX-License-Identifier: MIT
// The windowed message boxes (over QMessageBox) behind MsgBox(). Loading this module installs
// them in place of the placeholder; the desktop program also calls InstallMsgBoxWin() at
// start-up to say so plainly.
//
// A message may begin with "$Name " (the sound resource Name is played first; "$!Name " plays
// it to its end before the box opens) and with one "!" (dropped). A message that is only a
// sound, or empty, shows nothing and returns 0.
//
//   InstallMsgBoxWin();
//   MsgBox().YesNoAllCancel(u"Alle ersetzen?", true);   // mrYes, mrNo, mrCancel, mrRetry, mrAll
//   ShowMessageCentered(u"Fertig.");
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

#include "common/_ZT_cmn.h"

class TMsgBoxWin : public TMsgBox {
 public:
  using TNotifyEvent = std::function<void(TMsgBoxWin& sender)>;
  // Plays the named sound resource; wait: to its end before returning.
  using TSoundPlayer = std::function<void(const QString& name, bool wait)>;

  int Dlg(std::u16string_view Msg, TMsgDlgType dlgType, TMsgDlgButtons btns,
          TMsgDlgBtn defButton) override;
  int Info(std::u16string_view Msg) override;
  int ErrInfo(std::u16string_view Msg) override;
  int YesNo(std::u16string_view Msg) override;
  int YesCancel(std::u16string_view Msg) override;
  int NoYes(std::u16string_view Msg) override;
  int YesNoCancel(std::u16string_view Msg, bool withRetry = false) override;
  int NoYesCancel(std::u16string_view Msg, bool withRetry = false) override;
  int YesNoAllCancel(std::u16string_view Msg, bool withRetry = false) override;
  int YesToAllNoCancel(std::u16string_view Msg, TMsgDlgBtn defButton,
                       bool withRetry = false) override;
  int IgnoreCancel(std::u16string_view Msg) override;
  int OkCancel(std::u16string_view Msg) override;

  TNotifyEvent OnStartDialog;
  TNotifyEvent OnEndDialog;

  // The default player uses Qt Multimedia with the resource ":/sounds/<name>.wav" when both
  // exist, and skips the sound otherwise.
  void SetSoundPlayer(TSoundPlayer player) { FSoundPlayer = std::move(player); }

 private:
  TSoundPlayer FSoundPlayer;
};

// The windowed message boxes as the program's MsgBox(), also for the settings layer's
// messages (SetSettingsMessageCallback); returns them.
TMsgBoxWin& InstallMsgBoxWin();

// The window dialogs are placed against when no window is active; without one the first
// top-level main window is taken.
void SetMainForm(QWidget* form);
QWidget* MainForm();

// A plain notice (no icon, button OK) centred on the main window, shown modally.
void ShowMessageCentered(std::u16string_view text);

// Plays the sound resource as the default player does.
void PlaySoundResource(const QString& name, bool wait);
