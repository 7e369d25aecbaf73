// SPDX-License-Identifier: MIT
// The program's single message box object. Every message for the user goes through MsgBox();
// the caller gets the pressed button back as a modal result. This module holds the interface
// and a placeholder that raises "MsgBox not assigned"; the desktop program installs the
// windowed implementation (common/_0comvcl), so library code never depends on a toolkit.
//
//   if (MsgBox().YesNo(u"Datei überschreiben?") == mrYes) ...
//   MsgBox().Info(u"$Ding Fertig.");   // plays the sound "Ding", then shows "Fertig."
//   MsgBox().SetAlign(ma_RightBottom); // the next dialog only sits at the bottom right
#pragma once

#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

enum TMsgAlign {
  ma_Center,
  ma_leftTop,
  ma_RightTop,
  ma_CenterTop,
  ma_LeftCenter,
  ma_RightCenter,
  ma_LeftBottom,
  ma_RightBottom,
  ma_CenterBottom
};

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

// Buttons, in the order a dialog shows them.
enum TMsgDlgBtn {
  mbYes,
  mbNo,
  mbOK,
  mbCancel,
  mbAbort,
  mbRetry,
  mbIgnore,
  mbAll,
  mbNoToAll,
  mbYesToAll,
  mbHelp,
  mbClose
};
using TMsgDlgButtons = unsigned;  // bit (1 << TMsgDlgBtn) per button
constexpr TMsgDlgButtons Btns(std::initializer_list<TMsgDlgBtn> list) {
  TMsgDlgButtons set = 0;
  for (TMsgDlgBtn b : list) set |= 1u << b;
  return set;
}

// Modal results of the buttons; 0: no dialog was shown.
enum TModalResult {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrAbort = 3,
  mrRetry = 4,
  mrIgnore = 5,
  mrYes = 6,
  mrNo = 7,
  mrClose = 8,
  mrHelp = 9,
  mrYesToAll = 10,
  mrAll = 12,
  mrNoToAll = 13,
};
int ModalResultOf(TMsgDlgBtn b);

// Raised by the placeholder; what() is UTF-8: the message, CR, "MsgBox not assigned".
struct EMsgBoxNotAssigned : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class TMsgBox {
 public:
  virtual ~TMsgBox() = default;

  virtual int Dlg(std::u16string_view Msg, TMsgDlgType dlgType, TMsgDlgButtons btns,
                  TMsgDlgBtn defButton);
  virtual int Info(std::u16string_view Msg);
  virtual int ErrInfo(std::u16string_view Msg);
  virtual int YesNo(std::u16string_view Msg);
  virtual int YesCancel(std::u16string_view Msg);
  virtual int NoYes(std::u16string_view Msg);
  virtual int YesNoCancel(std::u16string_view Msg, bool withRetry = false);
  virtual int NoYesCancel(std::u16string_view Msg, bool withRetry = false);
  virtual int YesNoAllCancel(std::u16string_view Msg, bool withRetry = false);
  virtual int YesToAllNoCancel(std::u16string_view Msg, TMsgDlgBtn defButton,
                               bool withRetry = false);
  virtual int IgnoreCancel(std::u16string_view Msg);
  virtual int OkCancel(std::u16string_view Msg);

  // Shows nothing.
  int TestInfo(std::u16string_view Msg) {
    (void)Msg;
    return 0;
  }

  // Places the next dialog only; the one after it is centred again.
  void SetAlign(TMsgAlign a) {
    FAlign = a;
    FUseNextAlign = true;
  }
  TMsgAlign Align() const { return FAlign; }
  bool Prompting() const { return FPrompting; }

  // Total time dialogs have been open, in days.
  double DialogDurationTotal = 0;

 protected:
  bool FUseNextAlign = false;
  TMsgAlign FAlign = ma_Center;
  bool FPrompting = false;
};

// The program's message box object: the placeholder until an implementation is installed.
TMsgBox& MsgBox();
// Installs box (nullptr: a new placeholder) and frees the previous one.
void SetMsgBox(std::unique_ptr<TMsgBox> box);
