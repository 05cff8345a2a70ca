// The main window's keyboard shortcuts, all in one place: each is an action with its keys on
// the control it belongs to, connected to the handler it runs. A new shortcut goes here.
#pragma once

class TForm1;

// F1 anywhere in the window opens the About box. On the chart, while it has the focus: Ctrl+C
// (the system's copy keys) picks the current cell and copies its character; the menu key and
// Shift+F10 open the chart's menu at the current cell.
void addShortcuts(TForm1 &form);
