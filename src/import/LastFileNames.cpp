#include "import/LastFileNames.h"

std::string LastDxfFileName;
std::string OpenDialogFileName;
