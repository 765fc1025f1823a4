#include "import/LastDxfFileName.h"

std::string LastDxfFileName;
