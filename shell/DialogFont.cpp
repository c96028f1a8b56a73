#include "shell/DialogFont.h"

#include <QApplication>
#include <QFontMetrics>

namespace corvale {

QFont DialogFont() {
    // "wkd and cfm files also" under the squares check boxes: 73 dialog units, 110 pixels.
    static const QString kTightestCaption = "wkd and cfm files also";
    constexpr int kTightestWidth = 108;
    struct Candidate {
        int pixels;
        int stretch;
    };
    constexpr Candidate kCandidates[] = {
        {11, QFont::Unstretched},   {11, QFont::SemiCondensed}, {10, QFont::Unstretched},
        {10, QFont::SemiCondensed}, {9, QFont::Unstretched},    {9, QFont::SemiCondensed},
    };
    QFont font = QApplication::font();
    for (const Candidate& candidate : kCandidates) {
        font.setPixelSize(candidate.pixels);
        font.setStretch(candidate.stretch);
        if (QFontMetrics(font).horizontalAdvance(kTightestCaption) <= kTightestWidth)
            break;
    }
    return font;
}

}  // namespace corvale
