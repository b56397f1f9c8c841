#include "ui/filter_dialog.h"

#include <vector>

#include "hostlink/host_ops.h"
#include "pdf/pdf_comment.h"
#include "platform/win/button.h"
#include "platform/win/date_time_picker.h"
#include "platform/win/list_box.h"
#include "platform/win/module_handle.h"
#include "platform/win/native_dialog.h"
#include "platform/win/utf16.h"
#include "support/message_ids.h"
#include "support/ui_strings.h"
#include "ui/filter_dialog_controls.h"

namespace osprevan::ui {
namespace {

using win::HWND;
using win::INT_PTR;
using win::LPARAM;
using win::UINT;
using win::WPARAM;

constexpr int kAuthorListExtent = 300;
constexpr uint32_t kFirstReviewState = 4;

// The criteria the dialog edits: WM_INITDIALOG brings them, the dialog window keeps them.
pdf::FilterCriteria* CriteriaOf(HWND dialog) {
  return reinterpret_cast<pdf::FilterCriteria*>(win::GetWindowLongPtr(dialog, win::GWLP_USERDATA));
}

void AppendMessages(HWND dialog, int list, int firstMessage, int count) {
  for (int i = 0; i < count; ++i) {
    char16_t text[support::kWideCapacity];
    support::LoadUiStringWide(firstMessage + i, text);
    win::SendDlgItemMessage(dialog, list, win::LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
}

void Select(HWND dialog, int list, int index, bool selected) {
  win::SendDlgItemMessage(dialog, list, win::LB_SETSEL, selected ? win::TRUE : win::FALSE, index);
}

// Entry i is selected when the mask holds `first` shifted left by i.
void SelectByMask(HWND dialog, int list, int count, uint32_t mask, uint32_t first) {
  for (int i = 0; i < count; ++i) Select(dialog, list, i, (mask & (first << i)) != 0);
}

uint32_t MaskFromSelection(HWND dialog, int list, uint32_t first) {
  uint32_t mask = 0;
  const auto count = win::SendDlgItemMessage(dialog, list, win::LB_GETCOUNT, 0, 0);
  for (int i = 0; i < count; ++i) {
    if (win::SendDlgItemMessage(dialog, list, win::LB_GETSEL, i, 0) > 0) mask |= first << i;
  }
  return mask;
}

std::u16string EntryText(HWND dialog, int list, int index) {
  const auto length = win::SendDlgItemMessage(dialog, list, win::LB_GETTEXTLEN, index, 0);
  if (length < 0) return {};
  std::vector<char16_t> buffer(static_cast<size_t>(length) + 1);
  win::SendDlgItemMessage(dialog, list, win::LB_GETTEXT, index,
                          reinterpret_cast<LPARAM>(buffer.data()));
  return std::u16string(buffer.data(), static_cast<size_t>(length));
}

void ShowDate(HWND dialog, int picker, const pdf::CriteriaDate& date) {
  const win::SYSTEMTIME fields = date.Calendar();
  win::SendDlgItemMessage(dialog, picker, win::DTM_SETSYSTEMTIME, win::GDT_VALID,
                          reinterpret_cast<LPARAM>(&fields));
}

// A valid date in the picker sets the criteria's date; no date turns the date test off.
void ReadDate(HWND dialog, int picker, pdf::CriteriaDate& date, pdf::FilterCriteria& criteria) {
  win::SYSTEMTIME fields;
  if (win::SendDlgItemMessage(dialog, picker, win::DTM_GETSYSTEMTIME, 0,
                              reinterpret_cast<LPARAM>(&fields)) == win::GDT_VALID) {
    date.SetCalendar(fields);
  } else {
    criteria.dateFilterOn = false;
  }
}

void Initialise(HWND dialog, const pdf::FilterCriteria& criteria) {
  AppendMessages(dialog, kFilterReviewStateList, support::MSG_STATE_NONE, 5);
  SelectByMask(dialog, kFilterReviewStateList, 5, criteria.reviewStateMask, kFirstReviewState);

  win::SendDlgItemMessage(dialog, kFilterAuthorList, win::LB_SETHORIZONTALEXTENT, kAuthorListExtent,
                          0);
  for (const std::string& author : criteria.knownAuthors) {
    const std::u16string wide = win::Utf8ToWide(author);
    win::SendDlgItemMessage(dialog, kFilterAuthorList, win::LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(wide.c_str()));
  }
  const auto authors = win::SendDlgItemMessage(dialog, kFilterAuthorList, win::LB_GETCOUNT, 0, 0);
  for (int i = 0; i < authors; ++i) {
    const std::string text = win::WideToUtf8(EntryText(dialog, kFilterAuthorList, i));
    Select(dialog, kFilterAuthorList, i, criteria.acceptedAuthors.count(text) != 0);
  }

  AppendMessages(dialog, kFilterKindList, support::MSG_KIND_INSERT, 6);
  SelectByMask(dialog, kFilterKindList, 6, criteria.kindMask, 1);

  win::CheckDlgButton(
      dialog, kFilterMarkedCheck,
      (criteria.markedStateMask & pdf::Marked) ? win::BST_CHECKED : win::BST_UNCHECKED);
  win::CheckDlgButton(
      dialog, kFilterUnmarkedCheck,
      (criteria.markedStateMask & pdf::Unmarked) ? win::BST_CHECKED : win::BST_UNCHECKED);
  ShowDate(dialog, kFilterStartPicker, criteria.startDate);
  ShowDate(dialog, kFilterEndPicker, criteria.endDate);
}

void ReadBack(HWND dialog, pdf::FilterCriteria& criteria) {
  const auto setBit = [&](uint32_t bit, int check) {
    if (win::IsDlgButtonChecked(dialog, check) == win::BST_CHECKED) {
      criteria.markedStateMask |= bit;
    } else {
      criteria.markedStateMask &= ~bit;
    }
  };
  setBit(pdf::Marked, kFilterMarkedCheck);
  setBit(pdf::Unmarked, kFilterUnmarkedCheck);

  criteria.acceptedAuthors.clear();
  const auto authors = win::SendDlgItemMessage(dialog, kFilterAuthorList, win::LB_GETCOUNT, 0, 0);
  for (int i = 0; i < authors; ++i) {
    if (win::SendDlgItemMessage(dialog, kFilterAuthorList, win::LB_GETSEL, i, 0) > 0)
      criteria.acceptedAuthors.insert(win::WideToUtf8(EntryText(dialog, kFilterAuthorList, i)));
  }
  criteria.kindMask = MaskFromSelection(dialog, kFilterKindList, 1);
  criteria.reviewStateMask = MaskFromSelection(dialog, kFilterReviewStateList, kFirstReviewState);
  ReadDate(dialog, kFilterStartPicker, criteria.startDate, criteria);
  ReadDate(dialog, kFilterEndPicker, criteria.endDate, criteria);
}

void SelectAll(HWND dialog, int list, bool selected) {
  win::SendDlgItemMessage(dialog, list, win::LB_SETSEL, selected ? win::TRUE : win::FALSE, -1);
}

INT_PTR FilterDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == win::WM_INITDIALOG) {
    win::SetWindowLongPtr(dialog, win::GWLP_USERDATA, lParam);
    if (pdf::FilterCriteria* criteria = CriteriaOf(dialog)) Initialise(dialog, *criteria);
    return win::TRUE;  // the dialog manager's default focus
  }
  if (message != win::WM_COMMAND) return win::FALSE;
  switch (win::LOWORD(wParam)) {
    case win::IDCANCEL:
    case kFilterCancelButton:
      win::EndDialog(dialog, hostlink::kAnswerStop);
      return win::TRUE;
    case kFilterSelectAllAuthors:
    case kFilterDeselectAllAuthors:
      SelectAll(dialog, kFilterAuthorList, win::LOWORD(wParam) == kFilterSelectAllAuthors);
      return win::TRUE;
    case kFilterSelectAllKinds:
    case kFilterDeselectAllKinds:
      SelectAll(dialog, kFilterKindList, win::LOWORD(wParam) == kFilterSelectAllKinds);
      return win::TRUE;
    case kFilterSelectAllReviewStates:
    case kFilterDeselectAllReviewStates:
      SelectAll(dialog, kFilterReviewStateList,
                win::LOWORD(wParam) == kFilterSelectAllReviewStates);
      return win::TRUE;
    case kFilterContinueButton:
      if (pdf::FilterCriteria* criteria = CriteriaOf(dialog)) ReadBack(dialog, *criteria);
      win::EndDialog(dialog, hostlink::kAnswerContinue);
      return win::TRUE;
    default:
      return win::FALSE;
  }
}

}  // namespace

int32_t RunFilterDialog(pdf::FilterCriteria& criteria, win::HWND owner) {
  const win::HMODULE module = win::GetModuleHandle(win::Utf8ToWide(HostGetClientPath()));
  // Without the module or a usable template nothing is shown and the import goes on.
  if (!module) return hostlink::kAnswerContinue;
  const win::INT_PTR ended =
      win::DialogBoxParam(module, u"customfilterdialog", owner, FilterDialogProcedure,
                          reinterpret_cast<LPARAM>(&criteria), support::ResourceLanguage());
  return ended == hostlink::kAnswerStop ? hostlink::kAnswerStop : hostlink::kAnswerContinue;
}

}  // namespace osprevan::ui
