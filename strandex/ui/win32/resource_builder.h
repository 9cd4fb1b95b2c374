// The editor's menu and dialogs built in memory from the resource tables (resources.h): the main
// menu with its popups, and dialog templates (DLGTEMPLATE) in dialog units with the font
// "MS Shell Dlg" 8, ready for DialogBoxIndirectParamW and CreateDialogIndirectParamW.
#pragma once

#include <windows.h>

#include "strandex/ui/resources.h"

namespace ui {

// The main menu; items that start grayed are grayed. Null when it cannot be made.
HMENU BuildMainMenu();

// Gives a list view in report mode the columns of a table (caption and width in pixels), with
// grid lines and full-row selection.
void SetUpListColumns(HWND list, const ColumnTemplate* columns, int count);

// Window styles of the dialog templates.
inline constexpr DWORD kCentredDialogStyle = 0x80C808C8;
inline constexpr DWORD kDialogStyle = 0x80C800C8;

// A dialog template in memory, DWORD-aligned as the dialog manager wants it.
class DialogTemplateBuilder {
 public:
  explicit DialogTemplateBuilder(const DialogTemplate& dialog);
  // Null when the template did not fit.
  const DLGTEMPLATE* Template() const {
    return overflow ? nullptr : reinterpret_cast<const DLGTEMPLATE*>(words);
  }

 private:
  void Word(WORD value);
  void Dword(DWORD value);
  void Text(const char16_t* text);
  void AlignDword();
  void Control(const ControlTemplate& control);

  static constexpr int kCapacity = 4096;
  alignas(DWORD) WORD words[kCapacity];
  int count = 0;
  bool overflow = false;
};

}  // namespace ui
