// The fonts of the window, carried in the program's resources: Liberation Sans and Liberation
// Serif stand for Arial and Times New Roman, whose metrics the pixel layout is made for.
#pragma once

namespace lumo {

// Registers the bundled fonts and makes "Arial" and "Times New Roman" find them; once per
// run, before the first widget measures a text. Later calls do nothing.
void RegisterWindowFonts();

} // namespace lumo
