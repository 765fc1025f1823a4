#pragma once

// The block library file ("Library.blk"): the version "CAD422" in 6 bytes,
// one byte 2 (blocks follow), then a source-block section; nothing follows.
// TCADCmp::LoadLibrary reads it from a stream; these read and write files.

#include <string>

class TCADCmp;
class TCADStreamWriter;

inline constexpr const char* BlockLibraryFileName = "Library.blk";

// The library's blocks of the drawing (those to be saved that are library blocks).
void SaveBlockLibrary(TCADCmp& drawing, TCADStreamWriter& stream);

// Loads the library file into the drawing's source blocks, as the program
// does at start-up. Nothing here stops start-up: a missing file ("File not
// found!") or a refused one is reported through the message sink, the blocks
// read before a failure stay, and false is returned.
bool LoadBlockLibraryFile(TCADCmp& drawing, const std::string& fileName);
