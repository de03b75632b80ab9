#pragma once
// The inputs of the simulation input window, remembered while the program
// runs so that each visit starts from the values last used.

#include <QVariant>
#include <array>

namespace tav {

// Slots: 0 Combo1, 1..3 Text1_0..Text1_2, 4 Combo2, 5 Text2, 6 Text3,
// 7 Combo3, 8 Combo4 (texts), 9 Hscroll1, 10 Hscroll2 (positions).
// Every slot is empty (an invalid QVariant) until the window first unloads.
using Memsimula = std::array<QVariant, 11>;

Memsimula& memsimula();

} // namespace tav
