#pragma once

#include <QFont>

namespace corvale {

// The font of the forms and dialogs. Their layout is in dialog units of MS Sans Serif 8 point
// (about 11 pixels high at 96 dpi), which Linux does not have: the platform's interface font at
// that pixel size keeps every caption inside its control.
QFont DialogFont();

}  // namespace corvale
