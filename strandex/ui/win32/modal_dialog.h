// Runs one of the editor's modal dialogs for its logic (DialogLogicClass): the dialog comes from
// the program's dialog resource of the same ID, shows the fields the logic fills, and hands them
// back to the logic when a button is clicked. The close box and Escape end it with 0 unless the
// dialog has a button 2 (Cancel), whose logic then decides.
#pragma once

#include <windows.h>

#include "strandex/ui/dialog_fields.h"
#include "strandex/ui/resources.h"

namespace ui {

// The result the dialog ended with; 0 when it could not be shown. While it runs, *running holds
// its window (for message boxes that belong to it) and is reset afterwards.
int RunModalDialog(HINSTANCE instance, HWND owner, DialogLogicClass& logic, HWND* running);

// Copies between the controls of dialog and fields: the texts of the edit controls and the
// check states of the radio buttons.
void ReadFields(HWND dialog, const DialogTemplate& dialog_template, DialogFieldsClass& fields);
void WriteFields(HWND dialog, const DialogTemplate& dialog_template, const DialogFieldsClass& fields);

}  // namespace ui
