#pragma once

class TOptionen;

// The choices of one learning run; the lesson data owns it for the run.
struct TLernOptionen {
    TOptionen* Options = nullptr; // the program options, not owned
    bool ViewOnMap = false;
    bool Hauptstaedte = false;
    bool Schwierigkeit = false;
    int MemoryPairing = 0; // 0..4
    int Mode = 0;          // 0 short test, 1 test, 2 selection, 3 memory
};
