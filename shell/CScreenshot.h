#pragma once

#include <QString>
#include <functional>

namespace corvale {

class CMainFrame;

// Runs every award of the form in turn, WAS last so that its pins fill the lists, then saves
// the main window, grown to show the whole form, as a PNG picture. `done` receives whether the
// picture was saved.
void RunAwardsThenSaveScreenshot(CMainFrame& frame, const QString& file,
                                 std::function<void(bool saved)> done);

}  // namespace corvale
