#pragma once

#include <QByteArray>

#include "map/MapFormat.h"
#include "map/MapRenderer.h"
#include "map/MapView.h"

namespace corvale {

// The map as `view` shows it, as the whole content of a file of `format`.
QByteArray MapFileBytes(const MapRenderer& renderer, const MapView& view, MapFormat format);

}  // namespace corvale
