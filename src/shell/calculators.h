#pragma once
// The sample-size calculators of the topic-4 page and of the simulation
// input window: each checks its boxes in its own order, then fills the
// window's sample size Text1(2) from amostra.

namespace tav {

class Form;

void form4Calcula(Form& form);
void fsimula1Calcula(Form& form);

} // namespace tav
