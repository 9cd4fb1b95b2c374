// The menu and the dialog templates in memory.
#include "strandex/ui/win32/resource_builder.h"

#include <commctrl.h>

#include "common/string_functions.h"
#include "strandex/ui/win32/win32_text.h"

namespace ui {

HMENU BuildMainMenu() {
  HMENU bar = ::CreateMenu();
  if (!bar) return nullptr;
  HMENU popup = nullptr;
  const char16_t* popup_name = nullptr;
  for (int i = 0; i < kMenuItemCount; ++i) {
    const MenuItemTemplate& item = kMenuItems[i];
    if (!popup_name || WideCompare(popup_name, item.Popup) != 0) {
      popup_name = item.Popup;
      popup = ::CreatePopupMenu();
      if (!popup ||
          !::AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), W(popup_name))) {
        if (popup) ::DestroyMenu(popup);
        ::DestroyMenu(bar);
        return nullptr;
      }
    }
    if (!item.Text) {
      ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    } else {
      ::AppendMenuW(popup, MF_STRING | (item.StartsGrayed ? MF_GRAYED : MF_ENABLED), item.Command,
                    W(item.Text));
    }
  }
  return bar;
}

void SetUpListColumns(HWND list, const ColumnTemplate* columns, int count) {
  ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  for (int i = 0; i < count; ++i) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = columns[i].Width;
    column.pszText = const_cast<wchar_t*>(W(columns[i].Caption));
    ::SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
}

namespace {

// Predefined control classes of a dialog template.
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;

struct ControlClass {
  WORD Atom;  // 0: named by the class name
  DWORD Style;
  DWORD ExStyle;
};

ControlClass ClassOf(ControlKind kind) {
  constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
  switch (kind) {
    case ControlKind::Edit:
      return {kEditClass, kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 0};
    case ControlKind::MultiLineEdit:
      return {kEditClass, 0x50211044, WS_EX_CLIENTEDGE};
    case ControlKind::Static:
      // Texts show as they are: no '&' marks a mnemonic.
      return {kStaticClass, kChild | WS_GROUP | SS_LEFT | SS_NOPREFIX, 0};
    case ControlKind::GroupBox:
      return {kButtonClass, kChild | BS_GROUPBOX, 0};
    case ControlKind::PushButton:
      return {kButtonClass, kChild | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::DefaultPushButton:
      return {kButtonClass, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0};
    case ControlKind::RadioButton:
      return {kButtonClass, kChild | WS_TABSTOP | BS_AUTORADIOBUTTON, 0};
    case ControlKind::ListView:
      // A virtual list: the rows come from the editor's Find results as they are drawn.
      return {0, 0x50010805 | LVS_OWNERDATA, WS_EX_CLIENTEDGE};
  }
  return {kStaticClass, kChild, 0};
}

}  // namespace

DialogTemplateBuilder::DialogTemplateBuilder(const DialogTemplate& dialog) {
  Dword(dialog.Centred ? kCentredDialogStyle : kDialogStyle);
  Dword(0);
  Word(static_cast<WORD>(dialog.ControlCount));
  Word(0);  // x
  Word(0);  // y
  Word(static_cast<WORD>(dialog.Width));
  Word(static_cast<WORD>(dialog.Height));
  Word(0);  // no menu
  Word(0);  // the dialog class
  Text(dialog.Caption);
  Word(8);
  Text(u"MS Shell Dlg");
  for (int i = 0; i < dialog.ControlCount; ++i) Control(dialog.Controls[i]);
}

void DialogTemplateBuilder::Word(WORD value) {
  if (count >= kCapacity) {
    overflow = true;
    return;
  }
  words[count++] = value;
}

void DialogTemplateBuilder::Dword(DWORD value) {
  Word(LOWORD(value));
  Word(HIWORD(value));
}

void DialogTemplateBuilder::Text(const char16_t* text) {
  for (; text && *text; ++text) Word(*text);
  Word(0);
}

void DialogTemplateBuilder::AlignDword() {
  if (count % 2) Word(0);
}

void DialogTemplateBuilder::Control(const ControlTemplate& control) {
  const ControlClass kind = ClassOf(control.Kind);
  AlignDword();
  Dword(kind.Style);
  Dword(kind.ExStyle);
  Word(static_cast<WORD>(control.X));
  Word(static_cast<WORD>(control.Y));
  Word(static_cast<WORD>(control.Width));
  Word(static_cast<WORD>(control.Height));
  Word(static_cast<WORD>(control.ID));  // -1 for the statics and group boxes
  if (kind.Atom) {
    Word(0xFFFF);
    Word(kind.Atom);
  } else {
    Text(U(WC_LISTVIEWW));
  }
  Text(control.Text);
  Word(0);  // no creation data
}

}  // namespace ui
