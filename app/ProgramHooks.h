#pragma once

#include <QString>

class Tfrm_Ergebnis;
class Tfrm_main;
class Tfrm_training;

// Plugs the learning settings dialog, the result window, the learning view
// and the lesson editor into the main window's lesson start, as the program
// runs them. The program entry calls it once, after creating the windows.
void InstallProgramHooks(Tfrm_main& mainWindow, Tfrm_training& training, Tfrm_Ergebnis& resultWindow,
                         const QString& programFolder);
