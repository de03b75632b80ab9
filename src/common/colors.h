#pragma once
// Colours written &H00BBGGRR, and the system colours &H800000nn.

#include <QColor>
#include <cstdint>

namespace tav {

QColor vbColor(uint32_t value);

} // namespace tav
