#pragma once

// A layer that shows a map file.

#include <QString>

class TCustomGlobeView;

// Creates a layer whose objects come from a reader chosen by the file's
// extension (LYR, SHP or MIF, any letter case) and opens it. Returns the
// layer's index, or -1 when the file is not found or of no known kind. A file
// that cannot be read raises EGlobeException and leaves no layer behind.
int CreateFileLayer(TCustomGlobeView& globe, const QString& fileName);
