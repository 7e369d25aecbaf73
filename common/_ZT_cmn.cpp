// SPDX-License-Identifier: MIT
#include "common/_ZT_cmn.h"

#include <mutex>

#include "common/_ZT_cmn_A.h"

namespace {

std::mutex g_msgBoxMutex;

std::unique_ptr<TMsgBox>& Current() {
  static std::unique_ptr<TMsgBox> box = std::make_unique<TMsgBox>();
  return box;
}

}  // namespace

int ModalResultOf(TMsgDlgBtn b) {
  switch (b) {
    case mbYes:
      return mrYes;
    case mbNo:
      return mrNo;
    case mbOK:
      return mrOk;
    case mbCancel:
      return mrCancel;
    case mbAbort:
      return mrAbort;
    case mbRetry:
      return mrRetry;
    case mbIgnore:
      return mrIgnore;
    case mbAll:
      return mrAll;
    case mbNoToAll:
      return mrNoToAll;
    case mbYesToAll:
      return mrYesToAll;
    case mbHelp:
      return mrHelp;
    case mbClose:
      return mrClose;
  }
  return mrNone;
}

// --- the placeholder: every dialog ends in Info, which raises --------------------------------
int TMsgBox::Info(std::u16string_view Msg) {
  throw EMsgBoxNotAssigned(UniToUtf8(Msg) + "\rMsgBox not assigned");
}

int TMsgBox::Dlg(std::u16string_view Msg, TMsgDlgType, TMsgDlgButtons, TMsgDlgBtn) {
  return Info(Msg);
}
int TMsgBox::ErrInfo(std::u16string_view Msg) {
  return Info(Msg);
}
int TMsgBox::YesNo(std::u16string_view Msg) {
  return Info(Msg);
}
int TMsgBox::YesCancel(std::u16string_view Msg) {
  return Info(Msg);
}
int TMsgBox::NoYes(std::u16string_view Msg) {
  return Info(Msg);
}
int TMsgBox::YesNoCancel(std::u16string_view Msg, bool) {
  return Info(Msg);
}
int TMsgBox::NoYesCancel(std::u16string_view Msg, bool) {
  return Info(Msg);
}
int TMsgBox::YesNoAllCancel(std::u16string_view Msg, bool) {
  return Info(Msg);
}
int TMsgBox::YesToAllNoCancel(std::u16string_view Msg, TMsgDlgBtn, bool) {
  return Info(Msg);
}
int TMsgBox::IgnoreCancel(std::u16string_view Msg) {
  return Info(Msg);
}
int TMsgBox::OkCancel(std::u16string_view Msg) {
  return Info(Msg);
}

// --- the program's object ------------------------------------------------------------------
TMsgBox& MsgBox() {
  std::lock_guard lock(g_msgBoxMutex);
  return *Current();
}

void SetMsgBox(std::unique_ptr<TMsgBox> box) {
  std::lock_guard lock(g_msgBoxMutex);
  Current() = box ? std::move(box) : std::make_unique<TMsgBox>();
}
