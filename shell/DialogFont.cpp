#include "shell/DialogFont.h"

#include <QApplication>

namespace corvale {

QFont DialogFont() {
    QFont font = QApplication::font();
    font.setPixelSize(11);
    return font;
}

}  // namespace corvale
