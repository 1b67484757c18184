#pragma once

class TOptionen;

// The choices of one learning run; the lesson data owns it for the run.
struct TLernOptionen {
    TOptionen* Options = nullptr; // the program options, not owned
    bool ViewOnMap = false;
    bool Hauptstaedte = false;
    bool Schwierigkeit = false;
    int MemoryPairing = 0; // 0..4
    // The pairings the lesson can deal (bit p for pairing p), told to the
    // settings dialog before it is shown.
    unsigned MemoryPairings = 0x1F;
    int Mode = 0;          // 0 short test, 1 test, 2 selection, 3 memory
};
