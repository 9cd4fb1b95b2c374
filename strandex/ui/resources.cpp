// The editor's menu and dialog templates (see resources.h).
#include "strandex/ui/resources.h"

namespace ui {

const MenuItemTemplate kMenuItems[] = {
    {u"File", u"New", kCmdNew, false},
    {u"File", u"Open", kCmdOpen, false},
    {u"File", u"Close", kCmdClose, false},
    {u"File", u"Save", kCmdSave, true},
    {u"File", u"Save as", kCmdSaveAs, true},
    {u"File", u"Export C Header", kCmdExportHeader, true},
    {u"File", u"Import Table", kCmdImportTable, false},
    {u"File", u"Export Table", kCmdExportTable, true},
    {u"File", nullptr, 0, false},
    {u"File", u"Exit", kCmdExit, false},
    {u"Search", u"Goto", kCmdGoto, false},
    {u"Search", u"Find by ID", kCmdFindID, false},
    {u"Search", u"Find by string", kCmdFindString, false},
    {u"Search", u"Find by english string", kCmdFindEnglish, false},
    {u"Search", u"Next untranslated", kCmdNextUntranslated, false},
    {u"Search", u"Check translations", kCmdCheckTranslations, false},
    {u"Edit", u"Add String", kCmdAddString, false},
    {u"Edit", u"Remove String", kCmdRemoveString, false},
    {u"Edit", u"Add Category", kCmdAddCategory, false},
    {u"Edit", u"Remove Category", kCmdRemoveCategory, false},
    {u"Edit", nullptr, 0, false},
    {u"Edit", u"Replace\u2026", kCmdReplace, false},
    {u"View", u"Translation language: None", kCmdTranslationNone, false},
    {u"View", u"Translation language: 1", kCmdTranslationFirst, false},
    {u"View", u"Translation language: 2", kCmdTranslationFirst + 1, false},
    {u"View", u"Translation language: 3", kCmdTranslationFirst + 2, false},
    {u"View", u"Translation language: 4", kCmdTranslationFirst + 3, false},
    {u"View", u"Translation language: 5", kCmdTranslationFirst + 4, false},
    {u"View", u"Translation language: 6", kCmdTranslationLast, false},
    {u"View", nullptr, 0, false},
    {u"View", u"Only untranslated", kCmdOnlyUntranslated, true},
    {u"View", u"Filter bar", kCmdFilterBar, false},
};
const int kMenuItemCount = sizeof(kMenuItems) / sizeof(kMenuItems[0]);

const ColumnTemplate kListColumns[4] = {
    {u"ID (string)", 200}, {u"ID (numeric)", 100}, {u"Sound ID", 100}, {u"English text", 450}};
const ColumnTemplate kResultColumns[3] = {
    {u"ID (string)", 200}, {u"ID (numeric)", 100}, {u"English text", 600}};
const ColumnTemplate kProblemResultColumns[4] = {
    {u"ID (string)", 200}, {u"ID (numeric)", 100}, {u"English text", 400}, {u"Problem", 300}};

namespace {

using K = ControlKind;
constexpr int kNone = kNoControl;

const ControlTemplate kGotoControls[] = {
    {kGotoNumber, K::Edit, u"", 48, 6, 60, 12, kNone},
    {kNone, K::Static, u"ID (numeric)", 6, 6, 42, 12, kGotoNumber},
    {kButtonCancel, K::PushButton, u"Cancel", 60, 24, 48, 12, kNone},
    {kButtonOk, K::DefaultPushButton, u"OK", 6, 24, 48, 12, kNone},
    {kGotoIndexRadio, K::RadioButton, u"Index", 120, 24, 35, 10, kNone},
    {kGotoIDRadio, K::RadioButton, u"ID", 120, 12, 23, 10, kNone},
    {kNone, K::GroupBox, u"", 114, 6, 42, 30, kNone},
};

const ControlTemplate kFindIDControls[] = {
    {kFindText, K::Edit, u"", 48, 6, 90, 12, kNone},
    {kNone, K::Static, u"ID (string)", 6, 6, 42, 12, kFindText},
    {kButtonCancel, K::PushButton, u"Cancel", 60, 24, 48, 12, kNone},
    {kButtonOk, K::DefaultPushButton, u"OK", 6, 24, 48, 12, kNone},
};

const ControlTemplate kFindTextControls[] = {
    {kFindText, K::Edit, u"", 54, 6, 90, 12, kNone},
    {kNone, K::Static, u"Search string", 6, 6, 42, 12, kFindText},
    {kButtonCancel, K::PushButton, u"Cancel", 60, 24, 48, 12, kNone},
    {kButtonOk, K::DefaultPushButton, u"OK", 6, 24, 48, 12, kNone},
};

const ControlTemplate kFindResultsControls[] = {
    {kResultsList, K::ListView, u"", 6, 6, 324, 156, kNone},
    {kResultsClear, K::PushButton, u"Clear", 6, 168, 60, 18, kNone},
    {kResultsClose, K::DefaultPushButton, u"Close", 72, 168, 60, 18, kNone},
};

// Each label stands before the field it names.
const ControlTemplate kEditStringControls[] = {
    {kNone, K::Static, u"ID", 6, 6, 36, 12, kEditIDString},
    {kEditIDString, K::Edit, u"", 42, 6, 216, 12, kNone},
    {kEditNumericID, K::Edit, u"", 264, 6, 78, 12, kNone},
    {kNone, K::Static, u"Animation", 6, 24, 36, 12, kEditAnimation},
    {kEditAnimation, K::Edit, u"", 42, 24, 300, 12, kNone},
    {kNone, K::Static, u"Sound", 6, 42, 36, 12, kEditSound},
    {kEditSound, K::Edit, u"", 42, 42, 300, 12, kNone},
    {kNone, K::Static, u"Eng. string", 6, 60, 36, 12, kEditEnglish},
    {kEditEnglish, K::Edit, u"", 42, 60, 300, 12, kNone},
    {kNone, K::Static, u"Text", 6, 78, 36, 12, kEditText},
    {kEditText, K::MultiLineEdit, u"", 42, 78, 300, 42, kNone},
    {kIDOk, K::DefaultPushButton, u"OK", 6, 126, 50, 14, kNone},
    {kIDCancel, K::PushButton, u"Cancel", 60, 126, 50, 14, kNone},
};

const ControlTemplate kCategoryNameControls[] = {
    {kCategoryName, K::Edit, u"", 7, 6, 134, 12, kNone},
    {kButtonOk, K::DefaultPushButton, u"OK", 50, 23, 48, 12, kNone},
};

// The second radio button names the translation language when one is chosen.
const ControlTemplate kReplaceControls[] = {
    {kNone, K::Static, u"Find what", 6, 6, 48, 12, kReplaceFind},
    {kReplaceFind, K::Edit, u"", 56, 6, 164, 12, kNone},
    {kNone, K::Static, u"Replace with", 6, 22, 48, 12, kReplaceWith},
    {kReplaceWith, K::Edit, u"", 56, 22, 164, 12, kNone},
    {kNone, K::GroupBox, u"Replace in", 6, 40, 104, 40, kNone},
    {kReplaceEnglish, K::RadioButton, u"English texts", 12, 52, 92, 10, kNone},
    {kReplaceTranslation, K::RadioButton, u"Translation texts", 12, 64, 92, 10, kNone},
    {kNone, K::GroupBox, u"Strings", 116, 40, 104, 40, kNone},
    {kReplaceShown, K::RadioButton, u"Those the list shows", 122, 52, 92, 10, kNone},
    {kReplaceAll, K::RadioButton, u"All strings", 122, 64, 92, 10, kNone},
    {kReplaceMatchCase, K::CheckBox, u"Match case of A-Z", 6, 86, 104, 10, kNone},
    {kButtonOk, K::DefaultPushButton, u"OK", 6, 102, 48, 12, kNone},
    {kButtonCancel, K::PushButton, u"Cancel", 60, 102, 48, 12, kNone},
};

#define TX_CONTROLS(table) table, static_cast<int>(sizeof(table) / sizeof(table[0]))

const DialogTemplate kDialogs[] = {
    {kGotoDialog, u"Goto by ID", 160, 41, true, false, TX_CONTROLS(kGotoControls)},
    {kFindIDDialog, u"Find by ID", 142, 41, true, false, TX_CONTROLS(kFindIDControls)},
    {kFindStringDialog, u"Find by string", 148, 42, true, false, TX_CONTROLS(kFindTextControls)},
    {kFindEnglishDialog, u"Find by english string", 148, 42, true, false, TX_CONTROLS(kFindTextControls)},
    {kFindResultsDialog, u"Find results", 334, 191, false, true, TX_CONTROLS(kFindResultsControls)},
    {kEditStringDialog, u"Edit String", 346, 143, false, false, TX_CONTROLS(kEditStringControls)},
    {kCategoryNameDialog, u"Enter New Category Name", 148, 42, true, false,
     TX_CONTROLS(kCategoryNameControls)},
    {kReplaceDialog, u"Replace", 226, 120, true, false, TX_CONTROLS(kReplaceControls)},
};

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
  for (const DialogTemplate& dialog : kDialogs) {
    if (dialog.ID == id) return &dialog;
  }
  return nullptr;
}

int DialogTemplateCount() { return static_cast<int>(sizeof(kDialogs) / sizeof(kDialogs[0])); }

const DialogTemplate& DialogTemplateAt(int index) { return kDialogs[index]; }

}  // namespace ui
