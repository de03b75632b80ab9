#pragma once
// The copy of the last simulation run into a window's grid Grid1 and into
// the print table, made by each simulating window right after its run.

#include <QString>

namespace tav {

class ErrorHandler;
class Form;

// Writes the column headers into row 0 of resultados and copies rows 0 to
// count into Grid1 (whose column count, fixed row and column and widths the
// window set at its load), takes each value cell back from the grid into
// tabelaimp and sets its title, subtitle, last row and column count.
//  - count: the text of a Combo1, the consignments just run, read in the
//    user's locale;
//  - width: 6 with the "Established" column, 5 without;
//  - centre: centre the value columns afterwards.
// Every statement is a step of the caller's handler `h`, which decides what a
// failure does (the print table ends at row 500). Returns false when the
// handler ended the procedure.
bool preenchetabela(Form& frm, const QString& count, int width, bool centre, ErrorHandler& h);

// After a run the engine did not complete: Grid1 keeps its header row only
// and the print table keeps its titles and no row, so that neither shows the
// rows of an earlier run beside the emptied result labels.
void clearRunTable(Form& frm);

} // namespace tav
