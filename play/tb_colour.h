#pragma once
// The colours of the settings file as the window paints them.

#include "services/d_settings.h"

#include <QColor>

#include <string_view>

namespace tb {

// A plain colour as it is; a system colour from the application's palette.
QColor ToQColor(const TColour& colour);

// The colour that `name` names (a colour identifier with or without its "cl"
// prefix, letter case ignored); false, and `colour` unchanged, for any other text.
bool ColourByName(std::string_view name, QColor& colour);

} // namespace tb
