#pragma once

#include <QFont>

namespace corvale {

// The font of the forms and dialogs. Their layout is in dialog units of MS Sans Serif 8 point,
// which Linux does not have: this is the platform's interface font at the largest of a few
// sizes and widths with which the form's tightest caption still fits its control.
QFont DialogFont();

}  // namespace corvale
