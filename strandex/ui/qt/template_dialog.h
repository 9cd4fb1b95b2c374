// Dialogs built from the editor's dialog templates. Controls are placed in dialog units,
// converted with the dialog font's average character width and height as Windows defines them
// (x: width / 4, y: height / 8), and each control carries its resource ID in the property
// "resourceId". TemplateDialog runs a modal dialog for a DialogLogicClass: it shows the fields
// the logic fills, and hands them back when a button is clicked.
#pragma once

#include <QDialog>

#include "strandex/ui/dialog_fields.h"
#include "strandex/ui/resources.h"

namespace ui {

inline constexpr const char* kResourceIdProperty = "resourceId";

// Pixels of a length in dialog units, for the font of widget.
int DialogUnitsToPixelsX(const QWidget* widget, int units);
int DialogUnitsToPixelsY(const QWidget* widget, int units);

// Creates the controls of the template inside dialog, sizes it and sets its caption.
void BuildDialog(QDialog* dialog, const DialogTemplate& dialog_template);
// The control of dialog with this resource ID, or null.
QWidget* FindControl(const QWidget* dialog, int id);

// Copies between the controls of a dialog and a DialogFieldsClass. The multi-line edit shows a
// line break for each CR LF and the symbol U+240D for a carriage return on its own; it reads
// back every character the user did not type over as it was written, and a line break the
// user typed as CR LF. An edit control that still holds what WriteFields put there reads back
// as exactly the text written.
void ReadFields(const QWidget* dialog, const DialogTemplate& dialog_template, DialogFieldsClass& fields);
void WriteFields(QWidget* dialog, const DialogTemplate& dialog_template, const DialogFieldsClass& fields);

class TemplateDialog : public QDialog {
 public:
  TemplateDialog(DialogLogicClass& logic, QWidget* parent);
  // Runs the dialog; the result it ended with, 0 for the close box.
  int Run();

 private:
  void OnButton(int id);

  DialogLogicClass& logic;
  const DialogTemplate& dialog_template;
  DialogFieldsClass fields;
};

}  // namespace ui
