#include "platform/win/list_box.h"

#include <algorithm>

#include "platform/win/dialog_input.h"
#include "platform/win/window_record.h"

namespace win {
namespace {

bool MultipleSelection(const WindowRecord& list) {
  return (list.style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

bool InRange(const WindowRecord& list, intptr_t index) {
  return index >= 0 && static_cast<size_t>(index) < list.entries.size();
}

}  // namespace

LRESULT ListBoxProcedure(WindowRecord& list, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto index = static_cast<intptr_t>(wParam);
  switch (message) {
    case LB_ADDSTRING: {
      const auto* text = reinterpret_cast<const char16_t*>(lParam);
      if (!text) return LB_ERR;
      list.entries.push_back({text, false});
      return static_cast<LRESULT>(list.entries.size() - 1);
    }
    case LB_RESETCONTENT:
      list.entries.clear();
      list.caret = -1;
      return LB_OKAY;
    case LB_GETCOUNT:
      return static_cast<LRESULT>(list.entries.size());
    case LB_SETSEL: {
      if (!MultipleSelection(list)) return LB_ERR;
      if (lParam == -1) {
        for (ListEntry& entry : list.entries) entry.selected = wParam != 0;
        return LB_OKAY;
      }
      if (!InRange(list, lParam)) return LB_ERR;
      list.entries[static_cast<size_t>(lParam)].selected = wParam != 0;
      list.caret = static_cast<int>(lParam);
      return LB_OKAY;
    }
    case LB_SETCURSEL:
      // Single-selection lists only; -1 clears the selection.
      if (MultipleSelection(list)) return LB_ERR;
      for (ListEntry& entry : list.entries) entry.selected = false;
      if (!InRange(list, index)) return index == -1 ? LB_OKAY : LB_ERR;
      list.entries[static_cast<size_t>(index)].selected = true;
      list.caret = static_cast<int>(index);
      return index;
    case LB_GETSEL:
      if (!InRange(list, index)) return LB_ERR;
      return list.entries[static_cast<size_t>(index)].selected ? 1 : 0;
    case LB_GETCURSEL:
      if (MultipleSelection(list)) return list.caret;
      for (size_t i = 0; i < list.entries.size(); ++i) {
        if (list.entries[i].selected) return static_cast<LRESULT>(i);
      }
      return LB_ERR;
    case LB_GETSELCOUNT:
      if (!MultipleSelection(list)) return LB_ERR;
      return std::count_if(list.entries.begin(), list.entries.end(),
                           [](const ListEntry& entry) { return entry.selected; });
    case LB_GETSELITEMS: {
      if (!MultipleSelection(list)) return LB_ERR;
      auto* out = reinterpret_cast<int*>(lParam);
      if (!out) return LB_ERR;
      LRESULT n = 0;
      for (size_t i = 0; i < list.entries.size() && n < static_cast<LRESULT>(wParam); ++i) {
        if (list.entries[i].selected) out[n++] = static_cast<int>(i);
      }
      return n;
    }
    case LB_GETTEXT: {
      auto* out = reinterpret_cast<char16_t*>(lParam);
      if (!InRange(list, index) || !out) return LB_ERR;
      const std::u16string& text = list.entries[static_cast<size_t>(index)].text;
      std::copy(text.begin(), text.end(), out);
      out[text.size()] = 0;
      return static_cast<LRESULT>(text.size());
    }
    case LB_GETTEXTLEN:
      if (!InRange(list, index)) return LB_ERR;
      return static_cast<LRESULT>(list.entries[static_cast<size_t>(index)].text.size());
    case LB_GETHORIZONTALEXTENT:
      return list.horizontalExtent;
    case LB_SETHORIZONTALEXTENT:
      list.horizontalExtent = static_cast<int>(wParam);
      return 0;
    default:
      return DefWindowProcedure(list, message, wParam, lParam);
  }
}

bool ClickListEntry(HWND handle, int index, ListClick click) {
  WindowRecord* list = Record(handle);
  if (!list || list->kind != WindowClass::ListBox || !list->enabled || !InRange(*list, index)) {
    return false;
  }
  const auto before = list->entries;
  if (click == ListClick::Only || !MultipleSelection(*list)) {
    for (ListEntry& entry : list->entries) entry.selected = false;
    list->entries[static_cast<size_t>(index)].selected = click != ListClick::Deselect;
  } else {
    list->entries[static_cast<size_t>(index)].selected = click == ListClick::Select;
  }
  list->caret = index;
  SetFocus(handle);
  const bool changed =
      !std::equal(before.begin(), before.end(), list->entries.begin(),
                  [](const ListEntry& a, const ListEntry& b) { return a.selected == b.selected; });
  if (changed && (list->style & LBS_NOTIFY)) NotifyParent(*list, LBN_SELCHANGE);
  return true;
}

int FindListEntry(HWND handle, const std::u16string& text) {
  WindowRecord* list = Record(handle);
  if (!list || list->kind != WindowClass::ListBox) return -1;
  for (size_t i = 0; i < list->entries.size(); ++i) {
    if (list->entries[i].text == text) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace win
