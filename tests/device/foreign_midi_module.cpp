// A MIDI module of another build: its entry carries another version of the tables.
extern "C" __attribute__((visibility("default"))) int lumo_midi_module_0()
{
    return 0;
}
