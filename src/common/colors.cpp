#include "common/colors.h"

#include <QApplication>
#include <QPalette>

namespace tav {

QColor vbColor(uint32_t value)
{
    if (value & 0x80000000u) {
        const QPalette pal = QApplication::palette();
        switch (value & 0xFF) {
        case 0x01: return QColor(58, 110, 165);     // desktop
        case 0x02: return pal.color(QPalette::Highlight); // active caption
        case 0x05: return pal.color(QPalette::Base);      // window background
        case 0x08: return pal.color(QPalette::Text);      // window text
        case 0x09: return QColor(255, 255, 255);          // caption text
        case 0x0F: return pal.color(QPalette::Button);    // button face
        case 0x10: return pal.color(QPalette::Mid);       // button shadow
        case 0x12: return pal.color(QPalette::ButtonText);
        case 0x0D: return pal.color(QPalette::Highlight);
        case 0x0E: return pal.color(QPalette::HighlightedText);
        default: return pal.color(QPalette::Window);
        }
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace tav
