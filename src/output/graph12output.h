#pragma once
// Print and Save of Graphic 12: its two charts, one above the other, as
// one picture composed on the print canvas, or its table.

namespace tav {

class Form;

// The gap between the two charts in the picture, twips.
constexpr int kChartGapTwips = 100;

// The page's build-only flag (1 while Save has Print compose).
int graph12Flag(const Form& frm);

void graph12Print(Form& frm); // Image7_Click
void graph12Save(Form& frm);  // Image8_Click

} // namespace tav
