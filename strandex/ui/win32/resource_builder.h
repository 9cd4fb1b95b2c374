// The columns of the editor's list views, from the resource tables (resources.h). The menu and the
// dialogs are resources of the program (resource_script.cpp).
#pragma once

#include <windows.h>

#include "strandex/ui/resources.h"

namespace ui {

// Gives a list view in report mode the columns of a table (caption and width in pixels), with
// grid lines and full-row selection.
void SetUpListColumns(HWND list, const ColumnTemplate* columns, int count);

}  // namespace ui
