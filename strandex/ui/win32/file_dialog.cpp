// The common file dialogs.
#include "strandex/ui/win32/file_dialog.h"

#include <cstring>

#include "common/utf8.h"
#include "strandex/ui/win32/win32_text.h"

namespace ui {

namespace {

// Appends text and its terminator at filter[at]; returns the position after it.
int AppendFilterPart(wchar_t* filter, int capacity, int at, const char16_t* text) {
  while (*text && at < capacity - 2) filter[at++] = static_cast<wchar_t>(*text++);
  filter[at++] = 0;
  return at;
}

}  // namespace

void PrepareFileDialog(const FileDialogRequest& request, HWND owner, FileDialogSetup& setup) {
  std::memset(&setup, 0, sizeof setup);
  // "description\0pattern\0\0"
  int at = AppendFilterPart(setup.Filter, 128, 0, request.FilterDescription);
  at = AppendFilterPart(setup.Filter, 128, at, request.FilterPattern);
  setup.Filter[at] = 0;

  UnicodeStringClass initial;
  if (request.InitialName) Utf8ToWide(request.InitialName, -1, initial);
  CopyCellText(initial, setup.File, MAX_PATH);

  OPENFILENAMEW& dialog = setup.Dialog;
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = setup.Filter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = setup.File;
  dialog.nMaxFile = MAX_PATH;
  // The open dialogs have no use for the "Open as read-only" box.
  dialog.Flags = request.Save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  dialog.lpstrDefExt = W(request.DefaultExtension);
}

bool RunFileDialog(const FileDialogRequest& request, HWND owner, NarrowStringClass& path) {
  FileDialogSetup setup;
  PrepareFileDialog(request, owner, setup);
  BOOL chosen = request.Save ? ::GetSaveFileNameW(&setup.Dialog) : ::GetOpenFileNameW(&setup.Dialog);
  if (!chosen) return false;
  return WideToUtf8(U(setup.File), path);
}

}  // namespace ui
