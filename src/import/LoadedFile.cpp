#include "import/LoadedFile.h"

TLoadedFile LoadedFile;
