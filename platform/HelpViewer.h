#pragma once

#include <QString>
#include <functional>

// The program's help: an HTML help file shown in a help window that opens on
// its contents page. Every request passes the application-wide help hook,
// which may suppress it.
namespace HelpSystem {

// Returns true to let the request proceed.
using HelpHook = std::function<bool()>;
void SetHelpHook(HelpHook hook);

void SetHelpFile(const QString& path);
const QString& HelpFile();

// Shows the contents page (and the search field) of the help file, unless
// the hook suppresses it. Returns true when the help window was shown.
bool ShowContents();

// Replaces the window that shows a help file (tests record the request).
using ViewerOpener = std::function<void(const QString& helpFile)>;
void SetViewerOpener(ViewerOpener opener);

} // namespace HelpSystem
