// Writes the editor's main menu and dialogs (the tables of resources.h) as a resource script, a
// MENU and one DIALOGEX for each dialog, for the resource compiler to put into the Windows
// program. It runs on the build machine during the build and needs nothing but the tables and
// the C library, so a cross build compiles it with the build machine's compiler.
//
//   resource_script OUTPUT.rc
#include <cstdio>

#include "strandex/ui/resources.h"

namespace {

using ui::ControlKind;

// Window styles of the dialogs: a popup with caption and system menu, modal frame, the font of
// the template (DS_SETFONT | DS_FIXEDSYS), centred on the owner where the table says so.
constexpr unsigned kDialogStyle = 0x80C800C8;
constexpr unsigned kCentred = 0x0800;  // DS_CENTER

struct ControlClass {
  const char* Name;
  unsigned Style;
  unsigned ExStyle;
};

ControlClass ClassOf(ControlKind kind) {
  constexpr unsigned kChild = 0x50000000;  // WS_CHILD | WS_VISIBLE
  constexpr unsigned kTabStop = 0x00010000;
  constexpr unsigned kClientEdge = 0x00000200;
  switch (kind) {
    case ControlKind::Edit:
      // WS_BORDER, ES_AUTOHSCROLL.
      return {"Edit", kChild | kTabStop | 0x00800000 | 0x0080, 0};
    case ControlKind::MultiLineEdit:
      // WS_VSCROLL, ES_MULTILINE, ES_AUTOVSCROLL, ES_WANTRETURN.
      return {"Edit", kChild | kTabStop | 0x00200000 | 0x1044, kClientEdge};
    case ControlKind::Static:
      // WS_GROUP, SS_LEFT; SS_NOPREFIX: texts show as they are, no '&' marks a mnemonic.
      return {"Static", kChild | 0x00020000 | 0x0080, 0};
    case ControlKind::GroupBox:
      return {"Button", kChild | 0x0007, 0};
    case ControlKind::PushButton:
      return {"Button", kChild | kTabStop, 0};
    case ControlKind::DefaultPushButton:
      return {"Button", kChild | kTabStop | 0x0001, 0};
    case ControlKind::RadioButton:
      return {"Button", kChild | kTabStop | 0x0009, 0};
    case ControlKind::CheckBox:
      // BS_AUTOCHECKBOX.
      return {"Button", kChild | kTabStop | 0x0003, 0};
    case ControlKind::ListView:
      // LVS_REPORT, LVS_SINGLESEL, LVS_ALIGNLEFT; LVS_OWNERDATA: the rows come from the
      // editor's Find results as they are drawn.
      return {"SysListView32", kChild | kTabStop | 0x1805, kClientEdge};
  }
  return {"Static", kChild, 0};
}

class ScriptWriter {
 public:
  explicit ScriptWriter(FILE* out) : out(out) {}

  void Menu() {
    std::fprintf(out, "%d MENU\nBEGIN\n", ui::kMainMenu);
    const char16_t* popup = nullptr;
    for (int i = 0; i < ui::kMenuItemCount; ++i) {
      const ui::MenuItemTemplate& item = ui::kMenuItems[i];
      if (!popup || !Same(popup, item.Popup)) {
        if (popup) std::fputs("  END\n", out);
        popup = item.Popup;
        std::fputs("  POPUP ", out);
        Text(popup);
        std::fputs("\n  BEGIN\n", out);
      }
      if (!item.Text) {
        std::fputs("    MENUITEM SEPARATOR\n", out);
        continue;
      }
      std::fputs("    MENUITEM ", out);
      Text(item.Text);
      std::fprintf(out, ", %d%s\n", item.Command, item.StartsGrayed ? ", GRAYED" : "");
    }
    if (popup) std::fputs("  END\n", out);
    std::fputs("END\n", out);
  }

  void Dialog(const ui::DialogTemplate& dialog) {
    std::fprintf(out, "\n%d DIALOGEX 0, 0, %d, %d\nSTYLE 0x%08X\nCAPTION ", dialog.ID, dialog.Width,
                 dialog.Height, kDialogStyle | (dialog.Centred ? kCentred : 0));
    Text(dialog.Caption);
    // Point size, weight, italic, character set (DEFAULT_CHARSET), face.
    std::fputs("\nFONT 8, \"MS Shell Dlg\", 0, 0, 1\nBEGIN\n", out);
    for (int i = 0; i < dialog.ControlCount; ++i) {
      const ui::ControlTemplate& control = dialog.Controls[i];
      ControlClass kind = ClassOf(control.Kind);
      // The radio buttons after a group box form a group of their own (WS_GROUP on the first).
      constexpr unsigned kGroup = 0x00020000;
      if (control.Kind == ControlKind::RadioButton && i > 0 &&
          dialog.Controls[i - 1].Kind == ControlKind::GroupBox)
        kind.Style |= kGroup;
      std::fputs("  CONTROL ", out);
      Text(control.Text);
      std::fprintf(out, ", %d, \"%s\", 0x%08X, %d, %d, %d, %d, 0x%08X\n", control.ID, kind.Name, kind.Style,
                   control.X, control.Y, control.Width, control.Height, kind.ExStyle);
    }
    std::fputs("END\n", out);
  }

 private:
  static bool Same(const char16_t* a, const char16_t* b) {
    while (*a && *a == *b) ++a, ++b;
    return *a == *b;
  }

  // A wide string: printable ASCII as it is (a quote doubled, a backslash escaped), every other
  // code unit as an escape of four hex digits, so that the script is plain ASCII and no code page
  // takes part.
  void Text(const char16_t* text) {
    std::fputs("L\"", out);
    for (; text && *text; ++text) {
      const char16_t unit = *text;
      if (unit == u'"') {
        std::fputs("\"\"", out);
      } else if (unit == u'\\') {
        std::fputs("\\\\", out);
      } else if (unit >= 0x20 && unit < 0x7F) {
        std::fputc(static_cast<char>(unit), out);
      } else {
        std::fprintf(out, "\\x%04X", static_cast<unsigned>(unit));
      }
    }
    std::fputc('"', out);
  }

  FILE* out;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: resource_script OUTPUT.rc\n", stderr);
    return 2;
  }
  FILE* out = std::fopen(argv[1], "w");
  if (!out) {
    std::perror(argv[1]);
    return 1;
  }
  std::fputs("// The editor's menu and dialogs, written during the build from strandex/ui/resources.cpp.\n\n",
             out);
  ScriptWriter writer(out);
  writer.Menu();
  for (int i = 0; i < ui::DialogTemplateCount(); ++i) writer.Dialog(ui::DialogTemplateAt(i));
  const bool written = !std::ferror(out);
  if (std::fclose(out) != 0 || !written) {
    std::perror(argv[1]);
    std::remove(argv[1]);
    return 1;
  }
  return 0;
}
