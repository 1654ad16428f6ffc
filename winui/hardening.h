// Start-up hardening for a program that runs elevated, typically from the Downloads folder:
// no DLL lying beside it or in its working folder runs inside it, and no handle it was given
// reaches the processes it starts.
#pragma once

namespace winui {

// Everything below, first thing at start-up, before any window exists.
void HardenProcess();

// DLLs are searched for in the system folder alone (SetDefaultDllDirectories, where the
// system has it), the current folder never, and the DLLs that windows, themes and text
// load by name later are loaded now from the system folder.
void RestrictDllSearch();

// Loads those DLLs from the system folder by their full path, so that a later load by name
// finds them loaded; one the system does not have is skipped.
void LoadSystemDllsByPath();

// Loads the common controls (version 6, as the manifest asks) and initialises them. Not
// imported: they load uxtheme as they attach, which would come before the search is restricted.
void LoadCommonControls();

// The standard handles this process was given stay out of its children.
void KeepStandardHandlesFromChildren();

}  // namespace winui
