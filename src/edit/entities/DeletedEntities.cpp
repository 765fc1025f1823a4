#include "edit/entities/DeletedEntities.h"

std::unique_ptr<TDeletedEntities> DeletedEntities;
