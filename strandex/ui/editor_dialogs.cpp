// The logic of the modal dialogs.
#include "strandex/ui/editor_dialogs.h"

#include "common/string_functions.h"
#include "strandex/ui/editor_screen.h"
#include "strandex/ui/field_text.h"
#include "strandex/ui/resources.h"
#include "tdb/tdb_format.h"
#include "tdb/translate_db.h"

namespace ui {

namespace {

UnicodeStringClass Widen(const char* text) {
  char16_t* wide = DupWideFromNarrow(text);
  UnicodeStringClass out(wide);
  delete[] wide;
  return out;
}

constexpr const char16_t* kEnglishOutsideLatin1 =
    u"The English text cannot hold characters outside Western European (Latin-1); use the Text "
    u"field for them.";

UnicodeStringClass Decimal(int64_t value) {
  return UnicodeStringClass::Formatted(u"%lld", static_cast<long long>(value));
}

}  // namespace

int EditStringDialogClass::TemplateID() const { return kEditStringDialog; }

void EditStringDialogClass::OnInit(DialogFieldsClass& fields) {
  fields.SetText(kEditIDString, Widen(s->GetIDString()));
  fields.SetText(kEditNumericID, Decimal(s->GetID()));
  fields.SetText(kEditEnglish, Widen(Escape(s->GetEnglishText().Chars())));
  if (translation_language > 0) {
    // A string without a text in this language shows an empty field, not its English text.
    const int k = translation_language;
    fields.SetText(kEditText, Escape(k < s->GetTextCount() ? s->GetText(k).Chars() : u""));
    fields.SetLabel(kEditText, UnicodeStringClass::Formatted(u"Text (%d)", k));
  } else {
    fields.SetText(kEditText, Escape(s->GetText(TranslateDBClass::GetCurrentLanguage()).Chars()));
  }
  fields.SetText(kEditSound, Decimal(s->GetSoundID()));
  fields.SetText(kEditAnimation, u"");
  shown = fields;
}

bool EditStringDialogClass::Changed(int control, const DialogFieldsClass& fields) const {
  return WideCompare(fields.Text(control), shown.Text(control)) != 0;
}

int EditStringDialogClass::Refuse(const char16_t* text) {
  screen.ShowMessage(MessageKind::Warning, u"Edit String", text);
  return kStayOpen;
}

int EditStringDialogClass::OnCommand(int control, DialogFieldsClass& fields) {
  if (control == kIDCancel) return 0;
  if (control != kIDOk) return kStayOpen;
  return Apply(fields);
}

int EditStringDialogClass::Apply(DialogFieldsClass& fields) {
  // Every changed field is checked before anything is written.
  const bool set_id_string = Changed(kEditIDString, fields);
  NarrowStringClass id_string;
  if (set_id_string) {
    if (!NarrowFromField(fields.Text(kEditIDString), kFieldLimit, id_string)) {
      return Refuse(u"The symbolic ID cannot hold characters outside Western European (Latin-1).");
    }
    if (id_string.Length() > tdb::kMaxFieldBytes) {
      return Refuse(
          UnicodeStringClass::Formatted(u"The symbolic ID is %d characters long; at most %d can be saved.",
                                        id_string.Length(), tdb::kMaxFieldBytes));
    }
  }
  int64_t number = 0;
  const bool change_id = Changed(kEditNumericID, fields) &&
                         ParseFieldNumber(fields.Text(kEditNumericID), false, &number) &&
                         number != s->GetID();
  if (change_id) {
    if (number < TranslateDBClass::kFirstID || number > TranslateDBClass::kLastID) {
      return Refuse(UnicodeStringClass::Formatted(u"The numeric ID must lie between %d and %d.",
                                                  TranslateDBClass::kFirstID, TranslateDBClass::kLastID));
    }
    if (TranslateDBClass::GetObject(static_cast<int>(number) - TranslateDBClass::kFirstID)) {
      return Refuse(UnicodeStringClass::Formatted(u"The numeric ID %d belongs to another string.",
                                                  static_cast<int>(number)));
    }
  }
  const bool set_english = Changed(kEditEnglish, fields);
  NarrowStringClass english;
  if (set_english) {
    if (!NarrowFromField(fields.Text(kEditEnglish), kFieldLimit, english)) {
      return Refuse(kEnglishOutsideLatin1);
    }
    english = Unescape(english.Chars());
  }
  const bool set_text = Changed(kEditText, fields);
  UnicodeStringClass text;
  if (set_text) text = Unescape(CutField(fields.Text(kEditText), kFieldLimit).Chars());
  int64_t sound = 0;
  const bool set_sound =
      Changed(kEditSound, fields) && ParseFieldNumber(fields.Text(kEditSound), true, &sound);

  const int language =
      translation_language > 0 ? translation_language : TranslateDBClass::GetCurrentLanguage();
  if ((set_id_string && !TranslateDBClass::ChangeObjectIDString(s, id_string)) ||
      (change_id && !TranslateDBClass::ChangeObjectID(s, static_cast<int>(number))) ||
      (set_english && !s->SetEnglishText(english)) || (set_text && !s->SetText(language, text))) {
    return Refuse(u"Out of memory: the string was changed only in part.");
  }
  if (set_sound) s->SetSoundID(static_cast<int>(sound));
  return 1;
}

int GotoDialogClass::TemplateID() const { return kGotoDialog; }

void GotoDialogClass::OnInit(DialogFieldsClass& fields) {
  fields.Focus = kGotoNumber;
  fields.SetChecked(kGotoIDRadio, mode == 0);
  fields.SetChecked(kGotoIndexRadio, mode == 1);
}

int GotoDialogClass::OnCommand(int control, DialogFieldsClass& fields) {
  switch (control) {
    case kGotoIndexRadio:
    case kGotoIDRadio:
      mode = fields.Checked(kGotoIDRadio) ? 0 : 1;
      return kStayOpen;
    case kButtonOk: {
      int64_t value = 0;
      bool valid = ParseFieldNumber(fields.Text(kGotoNumber), false, &value);
      screen.DebugOutput(UnicodeStringClass::Formatted(u"res == %d\n", static_cast<int>(value)));
      if (!valid) return kStayOpen;
      Number = static_cast<uint32_t>(value);
      return 1;
    }
    case kButtonCancel:
      return 0;
  }
  return kStayOpen;
}

void FindDialogClass::OnInit(DialogFieldsClass& fields) { fields.Focus = kFindText; }

int FindDialogClass::OnCommand(int control, DialogFieldsClass& fields) {
  if (control == kButtonCancel) return 0;
  if (control != kButtonOk) return kStayOpen;
  Text = CutField(fields.Text(kFindText), 255);
  return 1;
}

int ReplaceDialogClass::TemplateID() const { return kReplaceDialog; }

void ReplaceDialogClass::OnInit(DialogFieldsClass& fields) {
  fields.Focus = kReplaceFind;
  fields.SetText(kReplaceFind, choices.Request.Find);
  fields.SetText(kReplaceWith, choices.Request.With);
  const bool translation = translation_language > 0 && choices.Request.Language > 0;
  fields.SetChecked(kReplaceEnglish, !translation);
  fields.SetChecked(kReplaceTranslation, translation);
  fields.SetEnabled(kReplaceTranslation, translation_language > 0);
  if (translation_language > 0)
    fields.SetLabel(kReplaceTranslation,
                    UnicodeStringClass::Formatted(u"Texts of language %d", translation_language));
  fields.SetChecked(kReplaceShown, !choices.AllStrings);
  fields.SetChecked(kReplaceAll, choices.AllStrings);
  fields.SetChecked(kReplaceMatchCase, choices.Request.MatchCase);
}

int ReplaceDialogClass::OnCommand(int control, DialogFieldsClass& fields) {
  if (control == kButtonCancel) return 0;
  if (control != kButtonOk) return kStayOpen;
  const bool english = translation_language <= 0 || !fields.Checked(kReplaceTranslation);
  const UnicodeStringClass find = CutField(fields.Text(kReplaceFind), EditStringDialogClass::kFieldLimit);
  const UnicodeStringClass with = CutField(fields.Text(kReplaceWith), EditStringDialogClass::kFieldLimit);
  if (find.IsEmpty()) {
    screen.ShowMessage(MessageKind::Warning, u"Replace", u"Type the text to find.");
    return kStayOpen;
  }
  NarrowStringClass narrow;
  if (english && !NarrowFromField(with, with.Length(), narrow)) {
    screen.ShowMessage(MessageKind::Warning, u"Replace", kEnglishOutsideLatin1);
    return kStayOpen;
  }
  choices.Request.Find = find;
  choices.Request.With = with;
  choices.Request.Language = english ? 0 : translation_language;
  choices.Request.MatchCase = fields.Checked(kReplaceMatchCase);
  choices.AllStrings = fields.Checked(kReplaceAll);
  return 1;
}

int CategoryNameDialogClass::TemplateID() const { return kCategoryNameDialog; }

void CategoryNameDialogClass::OnInit(DialogFieldsClass& fields) {
  pending.Release();
  fields.Focus = kCategoryName;
}

int CategoryNameDialogClass::OnCommand(int control, DialogFieldsClass& fields) {
  if (control != kButtonOk) return kStayOpen;
  NarrowStringClass name;
  if (!NarrowFromField(fields.Text(kCategoryName), 255, name)) {
    screen.ShowMessage(MessageKind::Warning, u"Enter New Category Name",
                       u"A category name cannot hold characters outside Western European (Latin-1).");
    return kStayOpen;
  }
  if (name.IsEmpty()) return 0;
  if (name.Length() > tdb::kMaxFieldBytes) {
    screen.ShowMessage(
        MessageKind::Warning, u"Enter New Category Name",
        UnicodeStringClass::Formatted(u"The name is %d characters long; at most %d can be saved.",
                                      name.Length(), tdb::kMaxFieldBytes));
    return kStayOpen;
  }
  pending = name;
  return 1;
}

}  // namespace ui
