// The system's common file dialogs (GetOpenFileNameW, GetSaveFileNameW) for the editor's file
// commands: one filter, a 260-character file buffer starting with the initial name, no title
// buffer, no initial folder, the default title and no hook.
#pragma once

#include <windows.h>
// Needs the types of windows.h.
#include <commdlg.h>

#include "common/string_class.h"
#include "strandex/ui/editor_screen.h"

namespace ui {

// What the dialog is given: the structure and the buffers it points into.
struct FileDialogSetup {
  OPENFILENAMEW Dialog;
  wchar_t Filter[128];
  wchar_t File[MAX_PATH];
};

// Fills setup for request, owned by owner. Open dialogs want an existing file; save dialogs ask
// before overwriting and add the default extension.
void PrepareFileDialog(const FileDialogRequest& request, HWND owner, FileDialogSetup& setup);

// Runs the dialog; false when the user cancels. path gets the chosen path as UTF-8.
bool RunFileDialog(const FileDialogRequest& request, HWND owner, NarrowStringClass& path);

}  // namespace ui
