#include "app/DeletedEntities.h"

std::unique_ptr<std::vector<TDeletedEntityRec>> DeletedEntities;
