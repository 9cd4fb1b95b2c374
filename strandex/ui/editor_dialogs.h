// The logic of the editor's modal dialogs: Edit String, Goto, the three Find dialogs and the
// category name. Each fills its fields when it opens and decides what OK does; a refused OK
// shows a message and keeps the dialog open.
#pragma once

#include <cstdint>

#include "common/string_class.h"
#include "strandex/ui/dialog_fields.h"
#include "strandex/ui/text_replace.h"

class TDBStringClass;

namespace ui {

class EditorScreenClass;

// Edit String: shows one string of the database and, on OK, writes back the fields the user
// changed, in this order: symbolic ID, numeric ID, English text, text of the current language
// (or of the translation language the View menu chose, which the label of "Text" then names),
// sound ID. A field left as it was shown is not written at all, so OK alone never changes the
// string: the narrow "Eng. string" field cannot show text 0's characters above U+00FF, and
// writing it back would replace text 0; a stored backslash and "t" would come back as a tab,
// a long text cut short. Nothing is written unless every changed field can be: a numeric ID
// below 1000, above the largest ID or already taken, and a symbolic ID too long to be saved,
// are refused with a message.
class EditStringDialogClass : public DialogLogicClass {
 public:
  // translation_language 0 edits the database's current language in "Text".
  EditStringDialogClass(TDBStringClass* s, EditorScreenClass& screen, int translation_language = 0)
      : s(s), screen(screen), translation_language(translation_language) {}
  int TemplateID() const override;
  void OnInit(DialogFieldsClass& fields) override;
  int OnCommand(int control, DialogFieldsClass& fields) override;

  // Fields hold at most this many characters; a longer typed text is cut.
  static constexpr int kFieldLimit = 999;

 private:
  int Refuse(const char16_t* text);
  int Apply(DialogFieldsClass& fields);

  // True when the user changed the field since the dialog showed it.
  bool Changed(int control, const DialogFieldsClass& fields) const;

  TDBStringClass* s;
  EditorScreenClass& screen;
  int translation_language;
  // The fields as the dialog showed them.
  DialogFieldsClass shown;
};

// Goto: a numeric ID, or a slot index when mode is 1. mode is the editor's Goto mode, changed
// by the radio buttons. OK with a valid number ends the dialog with 1 and leaves it in Number.
class GotoDialogClass : public DialogLogicClass {
 public:
  GotoDialogClass(uint8_t& mode, EditorScreenClass& screen) : mode(mode), screen(screen) {}
  int TemplateID() const override;
  void OnInit(DialogFieldsClass& fields) override;
  int OnCommand(int control, DialogFieldsClass& fields) override;

  uint32_t Number = 0;

 private:
  uint8_t& mode;
  EditorScreenClass& screen;
};

// Find by ID, Find by string, Find by english string: OK ends with 1 and leaves the search text
// (at most 255 characters) in Text.
class FindDialogClass : public DialogLogicClass {
 public:
  explicit FindDialogClass(int template_id) : template_id(template_id) {}
  int TemplateID() const override { return template_id; }
  void OnInit(DialogFieldsClass& fields) override;
  int OnCommand(int control, DialogFieldsClass& fields) override;

  UnicodeStringClass Text;

 private:
  int template_id;
};

// Replace: the text to find and its replacement, where to replace (the English texts, or the
// texts of the translation language when one is chosen), in which strings, and whether case
// counts. The editor keeps the choices between uses. OK with a text to find ends with 1; an
// English replacement with characters outside Latin-1 is refused as Edit String refuses them.
struct ReplaceChoices {
  ReplaceRequest Request;
  bool AllStrings = false;
};

class ReplaceDialogClass : public DialogLogicClass {
 public:
  ReplaceDialogClass(ReplaceChoices& choices, int translation_language, EditorScreenClass& screen)
      : choices(choices), translation_language(translation_language), screen(screen) {}
  int TemplateID() const override;
  void OnInit(DialogFieldsClass& fields) override;
  int OnCommand(int control, DialogFieldsClass& fields) override;

 private:
  ReplaceChoices& choices;
  int translation_language;
  EditorScreenClass& screen;
};

// Enter New Category Name: OK with a name sets pending and ends with 1; an empty name ends
// with 0. A name that cannot be saved (over 254 bytes, or characters without a narrow form) is
// refused with a message.
class CategoryNameDialogClass : public DialogLogicClass {
 public:
  CategoryNameDialogClass(NarrowStringClass& pending, EditorScreenClass& screen)
      : pending(pending), screen(screen) {}
  int TemplateID() const override;
  void OnInit(DialogFieldsClass& fields) override;
  int OnCommand(int control, DialogFieldsClass& fields) override;

 private:
  NarrowStringClass& pending;
  EditorScreenClass& screen;
};

}  // namespace ui
