// Dialog fields by resource ID.
#include "strandex/ui/dialog_fields.h"

namespace ui {

const DialogFieldsClass::Field* DialogFieldsClass::Find(int id) const {
  for (int i = 0; i < fields.Count(); ++i) {
    if (fields[i].ID == id) return &fields[i];
  }
  return nullptr;
}

DialogFieldsClass::Field* DialogFieldsClass::FindOrAdd(int id) {
  if (const Field* found = Find(id)) return const_cast<Field*>(found);
  Field field;
  field.ID = id;
  if (!fields.Add(field)) return nullptr;
  return &fields[fields.Count() - 1];
}

const char16_t* DialogFieldsClass::Text(int id) const {
  const Field* field = Find(id);
  return field ? field->Text.Chars() : u"";
}

bool DialogFieldsClass::SetText(int id, const char16_t* text) {
  Field* field = FindOrAdd(id);
  return field && field->Text.TryAssign(text ? text : u"");
}

bool DialogFieldsClass::Checked(int id) const {
  const Field* field = Find(id);
  return field && field->Checked;
}

bool DialogFieldsClass::SetChecked(int id, bool checked) {
  Field* field = FindOrAdd(id);
  if (!field) return false;
  field->Checked = checked;
  return true;
}

const char16_t* DialogFieldsClass::Label(int id) const {
  const Field* field = Find(id);
  return field && field->HasLabel ? field->Label.Chars() : nullptr;
}

bool DialogFieldsClass::SetLabel(int id, const char16_t* text) {
  Field* field = FindOrAdd(id);
  if (!field || !field->Label.TryAssign(text ? text : u"")) return false;
  field->HasLabel = true;
  return true;
}

bool DialogFieldsClass::Enabled(int id) const {
  const Field* field = Find(id);
  return !field || !field->Disabled;
}

bool DialogFieldsClass::SetEnabled(int id, bool enabled) {
  Field* field = FindOrAdd(id);
  if (!field) return false;
  field->Disabled = !enabled;
  return true;
}

}  // namespace ui
