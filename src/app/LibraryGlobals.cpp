#include "app/LibraryGlobals.h"

#include <filesystem>

std::string MemCheckLogFileName;
std::string IdGlobalTempPath;
TIdSubstringSearch IdGlobalSubstringSearch = TIdSubstringSearch::Plain;

void InitializeMemCheck(const std::string& programPath)
{
    std::filesystem::path log(programPath);
    log.replace_extension();
    MemCheckLogFileName = log.string() + "_MemCheck.log";
}

void FinalizeMemCheck()
{
    MemCheckLogFileName.clear();
}

void InitializeIdGlobal(const std::string& tempFolder)
{
    IdGlobalTempPath = tempFolder.substr(0, 260);
    if (IdGlobalTempPath.empty() || IdGlobalTempPath.back() != '/')
        IdGlobalTempPath += '/';
    IdGlobalSubstringSearch = TIdSubstringSearch::Plain;
}

void FinalizeIdGlobal()
{
    IdGlobalTempPath.clear();
}
