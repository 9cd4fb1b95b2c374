// The editor's resources as data: command IDs, the main menu, and the dialog templates with
// their controls (positions and sizes in dialog units). The Qt front end builds its menus and
// dialogs from these tables; the Windows build writes them as the program's MENU and DIALOGEX
// resources (win32/resource_script.cpp). Every control keeps its resource ID, so the logic, the
// front ends and the tests all name controls by the same numbers.
#pragma once

namespace ui {

// Menu commands.
enum Command : int {
  kCmdNew = 40020,
  kCmdOpen = 40021,
  kCmdSave = 40023,
  kCmdSaveAs = 40024,
  kCmdExit = 40025,
  kCmdGoto = 40026,
  kCmdFindEnglish = 40029,
  kCmdFindString = 40030,
  kCmdFindID = 40031,
  kCmdClose = 40038,
  kCmdExportHeader = 40046,
  kCmdAddString = 40051,
  kCmdRemoveString = 40052,
  kCmdAddCategory = 40053,
  kCmdRemoveCategory = 40054,
  kCmdExportTable = 40055,
  kCmdImportTable = 40056,
  // The View menu: the translation language (None, then languages 1 to 6).
  kCmdTranslationNone = 40100,
  kCmdTranslationFirst = 40101,
  kCmdTranslationLast = 40106,
  // View, Only untranslated; Search, Next untranslated (F8). The Search item shows only while a
  // translation language is chosen.
  kCmdOnlyUntranslated = 40110,
  kCmdNextUntranslated = 40111,
  kCmdFilterBar = 40112,
  // Search, Check translations: shows only while a translation language is chosen.
  kCmdCheckTranslations = 40113,
  // Edit, Replace: a text in the English texts or the translation language's.
  kCmdReplace = 40114,
};

// The controls of the main window's filter bar.
inline constexpr int kFilterText = 1101;
inline constexpr int kFilterAllCategories = 1102;
inline constexpr const char16_t* kFilterAllCategoriesText = u"All categories";

// The key of Search, Next untranslated (the Windows virtual-key code of F8).
inline constexpr int kNextUntranslatedKey = 0x77;

// Resource identifiers of the menu, the dialogs and the icon.
enum Resource : int {
  kMainMenu = 101,
  kGotoDialog = 102,
  kFindIDDialog = 103,
  kFindStringDialog = 104,
  kFindEnglishDialog = 105,
  kFindResultsDialog = 106,
  kEditStringDialog = 107,
  kCategoryNameDialog = 108,
  kReplaceDialog = 109,
  kAppIcon = 110,
};

// Control identifiers inside the dialogs.
enum Control : int {
  kNoControl = -1,
  kIDOk = 1,
  kIDCancel = 2,
  kEditText = 1001,
  kGotoNumber = 1004,
  kFindText = 1005,
  kButtonOk = 1006,
  kButtonCancel = 1007,
  kResultsClear = 1009,
  kResultsClose = 1010,
  kResultsList = 1011,
  kEditIDString = 1012,
  kGotoIndexRadio = 1013,
  kEditAnimation = 1013,
  kGotoIDRadio = 1014,
  kEditSound = 1014,
  kEditEnglish = 1015,
  kCategoryName = 1015,
  kEditNumericID = 1016,
  kReplaceFind = 1020,
  kReplaceWith = 1021,
  kReplaceEnglish = 1022,
  kReplaceTranslation = 1023,
  kReplaceShown = 1024,
  kReplaceAll = 1025,
  kReplaceMatchCase = 1026,
};

struct MenuItemTemplate {
  const char16_t* Popup;
  const char16_t* Text;  // null for a separator
  int Command;           // 0 for a separator
  bool StartsGrayed;
};

// The main menu in order.
extern const MenuItemTemplate kMenuItems[];
extern const int kMenuItemCount;

enum class ControlKind {
  Edit,           // single line, scrolls horizontally
  MultiLineEdit,  // vertical scroll bar, Enter inserts a line break
  Static,
  GroupBox,
  PushButton,
  DefaultPushButton,
  RadioButton,  // the radio buttons after a group box, up to the next one, exclude each other
  CheckBox,
  ListView,
};

struct ControlTemplate {
  int ID;  // kNoControl for statics and group boxes
  ControlKind Kind;
  const char16_t* Text;
  int X, Y, Width, Height;
  int Buddy;  // for a label: the field it names, else kNoControl
};

struct DialogTemplate {
  int ID;
  const char16_t* Caption;
  int Width, Height;
  bool Centred;
  bool Modeless;
  const ControlTemplate* Controls;
  int ControlCount;
};

// The template of dialog id, or null.
const DialogTemplate* FindDialogTemplate(int id);
// Every dialog template, in the order of the table.
int DialogTemplateCount();
const DialogTemplate& DialogTemplateAt(int index);

// The main window: title, size in pixels, and the columns of the string list.
inline constexpr const char16_t* kAppTitle = u"Advanced string editor";
inline constexpr int kMainWidth = 800;
inline constexpr int kMainHeight = 600;

struct ColumnTemplate {
  const char16_t* Caption;
  int Width;  // pixels
};
extern const ColumnTemplate kListColumns[4];
// The fifth column of the string list, with a translation language chosen: "Text (K)".
inline constexpr int kTranslationColumnWidth = 450;
extern const ColumnTemplate kResultColumns[3];
// The Find results of Check translations: the three columns and the problem.
extern const ColumnTemplate kProblemResultColumns[4];

}  // namespace ui
