#pragma once

#include <QtGlobal>

#include <memory>
#include <string>

#include "awards/OutputFile.h"
#include "cli/CliOptions.h"
#include "export/AwardExport.h"

class QGuiApplication;

namespace corvale {

// What drawing maps needs in a program without windows: a QGuiApplication (fonts) on the
// offscreen platform, so that no display is needed. Made only when maps are asked for.
class MapPainting {
  public:
    explicit MapPainting(const CliOptions& options);
    ~MapPainting();
    MapPainting(const MapPainting&) = delete;
    MapPainting& operator=(const MapPainting&) = delete;

  private:
    std::unique_ptr<QGuiApplication> m_application;
    QtMessageHandler m_previousHandler = nullptr;
};

// Draws the map of one award's run into the map folder as part of `files`, so that it is
// replaced with the command's other files or not at all. Returns its path.
std::string WriteAwardMap(const ExportedAward& award, const CliOptions& options,
                          OutputTransaction& files);

}  // namespace corvale
