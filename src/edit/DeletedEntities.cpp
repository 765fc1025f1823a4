#include "edit/DeletedEntities.h"

std::unique_ptr<TDeletedEntities> DeletedEntities;
