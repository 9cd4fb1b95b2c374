// The toolkit-free side of a dialog. While a dialog is open its fields (the text of each edit
// control and the check state of each button, by resource ID) live in a DialogFieldsClass; the
// screen shows them, and hands them to the dialog's logic when a button is clicked.
#pragma once

#include "common/array.h"
#include "common/string_class.h"

namespace ui {

class DialogFieldsClass {
 public:
  // The text of control id; an empty text when it was never set.
  const char16_t* Text(int id) const;
  bool SetText(int id, const char16_t* text);
  bool Checked(int id) const;
  bool SetChecked(int id, bool checked);
  // The text of the label that names field id (for a button: its own text), when the logic
  // gives it one in place of the template's; null otherwise.
  const char16_t* Label(int id) const;
  bool SetLabel(int id, const char16_t* text);
  // Whether control id takes input; every control does until the logic says otherwise.
  bool Enabled(int id) const;
  bool SetEnabled(int id, bool enabled);

  // The control that gets the keyboard focus when the dialog opens; -1 for the default.
  int Focus = -1;

 private:
  struct Field {
    int ID = 0;
    UnicodeStringClass Text;
    bool Checked = false;
    bool HasLabel = false;
    bool Disabled = false;
    UnicodeStringClass Label;
  };
  const Field* Find(int id) const;
  Field* FindOrAdd(int id);
  DynamicArrayClass<Field> fields;
};

// What a command of a dialog asks for.
inline constexpr int kStayOpen = -1;

class DialogLogicClass {
 public:
  virtual ~DialogLogicClass() = default;
  // The template (resources.h) the screen builds the dialog from.
  virtual int TemplateID() const = 0;
  // Fills the fields when the dialog opens.
  virtual void OnInit(DialogFieldsClass& fields) = 0;
  // A button was clicked; fields hold what the controls show now (the logic may change them).
  // Returns the result to end the dialog with, or kStayOpen.
  virtual int OnCommand(int control, DialogFieldsClass& fields) = 0;
};

}  // namespace ui
