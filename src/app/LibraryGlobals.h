#pragma once

// Two units that take part in the program only by starting and ending: a
// memory-leak checker that is never switched on, and the globals of a
// network library that nothing reads. They keep the start-up order whole.

#include <string>

// The leak checker's log file: the program's path with its extension
// replaced by "_MemCheck.log". Nothing is ever written to it.
extern std::string MemCheckLogFileName;
// The checker stays off for the whole run.
inline constexpr bool MemCheckActive = false;

// The network library's temporary folder, ending in a separator.
extern std::string IdGlobalTempPath;
// How the network library searches within text: the byte-wise search, since
// text here is Unicode and never in a code page with lead bytes.
enum class TIdSubstringSearch { Plain, MultiByte };
extern TIdSubstringSearch IdGlobalSubstringSearch;

// programPath: the program file's full path.
void InitializeMemCheck(const std::string& programPath);
void FinalizeMemCheck();
// tempFolder: the system's temporary folder, cut to 260 characters.
void InitializeIdGlobal(const std::string& tempFolder);
void FinalizeIdGlobal();
