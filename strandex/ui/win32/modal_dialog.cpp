// Modal dialogs from the program's dialog resources.
#include "strandex/ui/win32/modal_dialog.h"

#include "common/string_functions.h"
#include "strandex/ui/win32/win32_text.h"

namespace ui {

namespace {

struct RunningDialog {
  DialogLogicClass& Logic;
  const DialogTemplate& Template;
  HWND* Window;
  DialogFieldsClass Fields;
};

const ControlTemplate* FindControlTemplate(const DialogTemplate& dialog, int id) {
  for (int i = 0; i < dialog.ControlCount; ++i) {
    if (dialog.Controls[i].ID == id && id != kNoControl) return &dialog.Controls[i];
  }
  return nullptr;
}

bool IsButton(ControlKind kind) {
  return kind == ControlKind::PushButton || kind == ControlKind::DefaultPushButton ||
         kind == ControlKind::RadioButton || kind == ControlKind::CheckBox;
}

bool IsCheckable(ControlKind kind) {
  return kind == ControlKind::RadioButton || kind == ControlKind::CheckBox;
}

// Labels take the texts the logic gave them. A label wider at the dialog's font than its place
// is widened to show its whole text on one line; it stays over the field it then reaches into,
// which leaves it uncovered. Nothing else moves.
void FitLabels(HWND dialog, const DialogTemplate& dialog_template, const DialogFieldsClass& fields) {
  // The controls in the order of the template, before any of them is raised.
  HWND children[64] = {};
  HWND child = ::GetWindow(dialog, GW_CHILD);
  for (int i = 0; i < dialog_template.ControlCount && i < 64 && child; ++i) {
    children[i] = child;
    child = ::GetWindow(child, GW_HWNDNEXT);
  }
  for (int i = 0; i < dialog_template.ControlCount && i < 64; ++i) {
    const ControlTemplate& control = dialog_template.Controls[i];
    // A button's label is its own text.
    const char16_t* own = IsButton(control.Kind) ? fields.Label(control.ID) : nullptr;
    if (own && children[i]) ::SetWindowTextW(children[i], W(own));
    HWND field = ::GetDlgItem(dialog, control.Buddy);
    child = children[i];
    if (control.Kind != ControlKind::Static || !field || !child) continue;
    if (const char16_t* label = fields.Label(control.Buddy)) ::SetWindowTextW(child, W(label));
    const UnicodeStringClass shown = WindowText(child);
    RECT place;
    ::GetClientRect(child, &place);
    SIZE text = {};
    HDC dc = ::GetDC(child);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(child, WM_GETFONT, 0, 0)));
    ::GetTextExtentPoint32W(dc, W(shown.Chars()), shown.Length(), &text);
    ::SelectObject(dc, old);
    ::ReleaseDC(child, dc);
    if (text.cx <= place.right) continue;
    ::SetWindowPos(child, HWND_TOP, 0, 0, text.cx, place.bottom, SWP_NOMOVE | SWP_NOACTIVATE);
    ::SetWindowLongW(field, GWL_STYLE, ::GetWindowLongW(field, GWL_STYLE) | WS_CLIPSIBLINGS);
  }
}

void OnButton(HWND dialog, RunningDialog& running, int id) {
  ReadFields(dialog, running.Template, running.Fields);
  int result = running.Logic.OnCommand(id, running.Fields);
  if (result != kStayOpen) {
    ::EndDialog(dialog, result);
    return;
  }
  WriteFields(dialog, running.Template, running.Fields);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* running = reinterpret_cast<RunningDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      running = reinterpret_cast<RunningDialog*>(lparam);
      ::SetWindowLongPtrW(dialog, DWLP_USER, lparam);
      *running->Window = dialog;
      running->Logic.OnInit(running->Fields);
      WriteFields(dialog, running->Template, running->Fields);
      FitLabels(dialog, running->Template, running->Fields);
      if (running->Fields.Focus < 0) return TRUE;
      ::SetFocus(::GetDlgItem(dialog, running->Fields.Focus));
      return FALSE;
    }
    case WM_COMMAND: {
      if (!running || HIWORD(wparam) != BN_CLICKED) return FALSE;
      const int id = LOWORD(wparam);
      const ControlTemplate* control = FindControlTemplate(running->Template, id);
      if (control && IsButton(control->Kind)) {
        OnButton(dialog, *running, id);
      } else if (id == IDCANCEL) {
        ::EndDialog(dialog, 0);
      }
      return TRUE;
    }
  }
  return FALSE;
}

}  // namespace

int RunModalDialog(HINSTANCE instance, HWND owner, DialogLogicClass& logic, HWND* running_window) {
  const DialogTemplate* dialog_template = FindDialogTemplate(logic.TemplateID());
  if (!dialog_template) return 0;
  HWND outer = *running_window;
  RunningDialog running{logic, *dialog_template, running_window, {}};
  INT_PTR result = ::DialogBoxParamW(instance, MAKEINTRESOURCEW(dialog_template->ID), owner, DialogProc,
                                     reinterpret_cast<LPARAM>(&running));
  *running_window = outer;
  return result < 0 ? 0 : static_cast<int>(result);
}

void ReadFields(HWND dialog, const DialogTemplate& dialog_template, DialogFieldsClass& fields) {
  for (int i = 0; i < dialog_template.ControlCount; ++i) {
    const ControlTemplate& control = dialog_template.Controls[i];
    HWND window = ::GetDlgItem(dialog, control.ID);
    if (!window || control.ID == kNoControl) continue;
    if (control.Kind == ControlKind::Edit || control.Kind == ControlKind::MultiLineEdit) {
      fields.SetText(control.ID, WindowText(window));
    } else if (IsCheckable(control.Kind)) {
      fields.SetChecked(control.ID, ::IsDlgButtonChecked(dialog, control.ID) == BST_CHECKED);
    }
  }
}

void WriteFields(HWND dialog, const DialogTemplate& dialog_template, const DialogFieldsClass& fields) {
  for (int i = 0; i < dialog_template.ControlCount; ++i) {
    const ControlTemplate& control = dialog_template.Controls[i];
    if (control.ID == kNoControl) continue;
    if (HWND window = ::GetDlgItem(dialog, control.ID)) ::EnableWindow(window, fields.Enabled(control.ID));
    if (control.Kind == ControlKind::Edit || control.Kind == ControlKind::MultiLineEdit) {
      // Only a changed text is set again, so that the caret of a field the user is in stays.
      HWND window = ::GetDlgItem(dialog, control.ID);
      if (window && WideCompare(WindowText(window), fields.Text(control.ID)) != 0)
        ::SetWindowTextW(window, W(fields.Text(control.ID)));
    } else if (IsCheckable(control.Kind)) {
      ::CheckDlgButton(dialog, control.ID, fields.Checked(control.ID) ? BST_CHECKED : BST_UNCHECKED);
    }
  }
}

}  // namespace ui
