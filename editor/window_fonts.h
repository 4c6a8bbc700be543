// The fonts of the window, carried in the program's resources: Liberation Sans and Liberation
// Serif stand for Arial and Times New Roman, whose metrics the pixel layout is made for.
#pragma once

namespace lumo {

// Loads the system's font configuration on a thread of its own at the lowest priority, where
// Qt finds fonts through fontconfig (elsewhere it does nothing). Called in main before the
// application is made, so that the load fills the waits of its connection to the window
// system; AddWindowFonts takes it over.
void StartFontConfiguration();
// Registers the bundled fonts with the font database, once per run; any thread may call it
// once the application exists (the start-up does it beside building the window).
void AddWindowFonts();
// Makes "Arial" and "Times New Roman" find the bundled fonts; on the window's thread, before
// the first widget measures a text.
void SubstituteWindowFonts();
// Both, on the window's thread.
void RegisterWindowFonts();

} // namespace lumo
