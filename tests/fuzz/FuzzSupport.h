#pragma once

// What the fuzz targets share: the application object, a scratch folder and
// input written to a file for the readers that take a path.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace Fuzz {

// The QApplication on the offscreen platform, made on the first call; the
// dialogs the program would show are answered with OK and never appear.
void EnsureApplication();

// A private folder for the process's lifetime; in /dev/shm where there is one,
// so that the syncs of atomic writes cost nothing.
const QString& ScratchFolder();

// Writes the input to `name` in the scratch folder (replacing it) and
// returns its path.
QString WriteScratchFile(const QString& name, const uint8_t* data, size_t size);

inline QByteArray Bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A property the program relies on does not hold: prints what and aborts,
// so that the fuzzer keeps the input.
[[noreturn]] void Violation(const char* what, const QString& detail = {});

} // namespace Fuzz
