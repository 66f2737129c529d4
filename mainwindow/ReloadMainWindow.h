#pragma once

class frmMain;

// Unloads the main window (saving into the settings file of the mode being
// left) and shows a new one in its place, whose load chooses the settings
// folder anew: run when the multi-user mode changes. The new window takes
// over the old one's environment, command line and settings; the old one is
// deleted once control returns to the event loop. Returns the new window.
frmMain* ReloadMainWindow(frmMain* window);
