// Picture files for the integration tests, written through the platform's own encoders, with
// EXIF orientations put in by bytes; and the import program run as a real process.
#pragma once

#include <windows.h>

#include <guiddef.h>

#include <string>
#include <vector>

#include "import/convert.h"

namespace coiffure::testing {

// PNG keeps the alpha; JPEG and TIFF get the colours only.
void WriteWithWic(const std::string& path, const GUID& container, const RgbaImage& img);

// The JPEG file with an APP1 "Exif" segment carrying the orientation right after its SOI.
void AddJpegOrientation(const std::string& path, uint16_t orientation);
// The TIFF file with the orientation tag added to its IFD0 (written anew at the file's end).
void AddTiffOrientation(const std::string& path, uint16_t orientation);

// A picture of one colour (B, G, R, A).
RgbaImage Plain(int width, int height, std::array<uint8_t, 4> bgra);

// Starts a program (a whole command line), suspended or not, or returns a null process.
PROCESS_INFORMATION Launch(const std::wstring& command, bool suspended = false);
// Waits for the process to end (a minute at most) and returns its exit code, 99 on time-out.
DWORD WaitForExit(PROCESS_INFORMATION& pi);

// A scratch copy of the import program with ml_fx and ml_data of its own: what it writes stays
// in the folder.
std::string StageImportProgram(const std::string& folder);

// The program exe with the given arguments, its standard output written to the file log and
// returned in output; its exit code (99 when it did not end within a minute).
DWORD RunImportProgram(const std::string& exe, const std::wstring& args, const std::string& log,
                       std::string* output);

}  // namespace coiffure::testing
