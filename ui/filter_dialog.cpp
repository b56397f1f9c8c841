#include "ui/filter_dialog.h"

#include <vector>

#include "client/host_ops.h"
#include "pdf/pdf_comment.h"
#include "platform/win/button.h"
#include "platform/win/date_time_picker.h"
#include "platform/win/list_box.h"
#include "platform/win/module_handle.h"
#include "platform/win/native_dialog.h"
#include "platform/win/utf16.h"
#include "ui/filter_dates.h"
#include "ui/message_ids.h"
#include "ui/ui_strings.h"

namespace osprevan::ui {
namespace {

using win::HWND;
using win::INT_PTR;
using win::LPARAM;
using win::UINT;
using win::WPARAM;

enum : int {
  kContinueButton = 100,
  kCancelButton = 101,
  kStartPicker = 103,
  kAuthorList = 104,
  kEndPicker = 108,
  kReviewStateList = 111,
  kMarkedCheck = 113,
  kUnmarkedCheck = 114,
  kSelectAllAuthors = 117,
  kDeselectAllAuthors = 118,
  kSelectAllKinds = 119,
  kDeselectAllKinds = 120,
  kSelectAllReviewStates = 121,
  kDeselectAllReviewStates = 122,
  kKindList = 123,
};

constexpr int kAuthorListExtent = 300;
constexpr uint32_t kFirstReviewState = 4;

// The dialog procedure's only way to the criteria, set just before the dialog opens.
FilterCriteria* g_criteria = nullptr;
int32_t g_result = kFilterContinue;

void AppendMessages(HWND dialog, int list, int firstMessage, int count) {
  for (int i = 0; i < count; ++i) {
    char16_t text[kWideCapacity];
    LoadUiStringWide(firstMessage + i, text);
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

void ShowDate(HWND dialog, int picker, const OkDate* date) {
  const win::SYSTEMTIME fields = DateToCalendar(date);
  win::SendDlgItemMessage(dialog, picker, win::DTM_SETSYSTEMTIME, win::GDT_VALID,
                          reinterpret_cast<LPARAM>(&fields));
}

// A valid date in the picker sets the criteria's date; no date turns the date test off.
void ReadDate(HWND dialog, int picker, OkDate* date, FilterCriteria& criteria) {
  win::SYSTEMTIME fields;
  if (win::SendDlgItemMessage(dialog, picker, win::DTM_GETSYSTEMTIME, 0,
                              reinterpret_cast<LPARAM>(&fields)) == win::GDT_VALID) {
    CalendarToDate(fields, date);
  } else {
    criteria.dateFilterOn = false;
  }
}

void Initialise(HWND dialog, const FilterCriteria& criteria) {
  AppendMessages(dialog, kReviewStateList, MSG_STATE_NONE, 5);
  SelectByMask(dialog, kReviewStateList, 5, criteria.reviewStateMask, kFirstReviewState);

  win::SendDlgItemMessage(dialog, kAuthorList, win::LB_SETHORIZONTALEXTENT, kAuthorListExtent, 0);
  for (const std::string& author : knownAuthors) {
    const std::u16string wide = win::Utf8ToWide(author);
    win::SendDlgItemMessage(dialog, kAuthorList, win::LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(wide.c_str()));
  }
  const auto authors = win::SendDlgItemMessage(dialog, kAuthorList, win::LB_GETCOUNT, 0, 0);
  for (int i = 0; i < authors; ++i) {
    const std::string text = win::WideToUtf8(EntryText(dialog, kAuthorList, i));
    Select(dialog, kAuthorList, i, criteria.acceptedAuthors.count(text) != 0);
  }

  AppendMessages(dialog, kKindList, MSG_KIND_INSERT, 6);
  SelectByMask(dialog, kKindList, 6, criteria.kindMask, 1);

  win::CheckDlgButton(
      dialog, kMarkedCheck,
      (criteria.markedStateMask & pdf::Marked) ? win::BST_CHECKED : win::BST_UNCHECKED);
  win::CheckDlgButton(
      dialog, kUnmarkedCheck,
      (criteria.markedStateMask & pdf::Unmarked) ? win::BST_CHECKED : win::BST_UNCHECKED);
  ShowDate(dialog, kStartPicker, criteria.startDate);
  ShowDate(dialog, kEndPicker, criteria.endDate);
}

void ReadBack(HWND dialog, FilterCriteria& criteria) {
  const auto setBit = [&](uint32_t bit, int check) {
    if (win::IsDlgButtonChecked(dialog, check) == win::BST_CHECKED) {
      criteria.markedStateMask |= bit;
    } else {
      criteria.markedStateMask &= ~bit;
    }
  };
  setBit(pdf::Marked, kMarkedCheck);
  setBit(pdf::Unmarked, kUnmarkedCheck);

  criteria.acceptedAuthors.clear();
  const auto authors = win::SendDlgItemMessage(dialog, kAuthorList, win::LB_GETCOUNT, 0, 0);
  for (int i = 0; i < authors; ++i) {
    if (win::SendDlgItemMessage(dialog, kAuthorList, win::LB_GETSEL, i, 0) > 0)
      criteria.acceptedAuthors.insert(win::WideToUtf8(EntryText(dialog, kAuthorList, i)));
  }
  criteria.kindMask = MaskFromSelection(dialog, kKindList, 1);
  criteria.reviewStateMask = MaskFromSelection(dialog, kReviewStateList, kFirstReviewState);
  ReadDate(dialog, kStartPicker, criteria.startDate, criteria);
  ReadDate(dialog, kEndPicker, criteria.endDate, criteria);
}

void SelectAll(HWND dialog, int list, bool selected) {
  win::SendDlgItemMessage(dialog, list, win::LB_SETSEL, selected ? win::TRUE : win::FALSE, -1);
}

INT_PTR FilterDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == win::WM_INITDIALOG) {
    if (g_criteria) Initialise(dialog, *g_criteria);
    return win::TRUE;  // the dialog manager's default focus
  }
  if (message != win::WM_COMMAND) return win::FALSE;
  switch (win::LOWORD(wParam)) {
    case win::IDCANCEL:
    case kCancelButton:
      g_result = kFilterCancel;
      win::EndDialog(dialog, kFilterCancel);
      return win::TRUE;
    case kSelectAllAuthors:
    case kDeselectAllAuthors:
      SelectAll(dialog, kAuthorList, win::LOWORD(wParam) == kSelectAllAuthors);
      return win::TRUE;
    case kSelectAllKinds:
    case kDeselectAllKinds:
      SelectAll(dialog, kKindList, win::LOWORD(wParam) == kSelectAllKinds);
      return win::TRUE;
    case kSelectAllReviewStates:
    case kDeselectAllReviewStates:
      SelectAll(dialog, kReviewStateList, win::LOWORD(wParam) == kSelectAllReviewStates);
      return win::TRUE;
    case kContinueButton:
      if (g_criteria) ReadBack(dialog, *g_criteria);
      g_result = kFilterContinue;
      win::EndDialog(dialog, kFilterContinue);
      return win::TRUE;
    default:
      return win::FALSE;
  }
}

}  // namespace

int32_t RunFilterDialog(FilterCriteria& criteria, win::HWND owner) {
  const win::HMODULE module = win::GetModuleHandle(win::Utf8ToWide(HostGetClientPath()));
  g_criteria = &criteria;
  g_result = kFilterContinue;
  // Without the module or a usable template nothing is shown and the import goes on.
  if (module) {
    win::DialogBoxParam(module, u"customfilterdialog", owner, FilterDialogProcedure, 0);
  }
  g_criteria = nullptr;
  return g_result;
}

}  // namespace osprevan::ui
