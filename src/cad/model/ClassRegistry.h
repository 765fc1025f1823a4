#pragma once

// Numbers every persistent class for the streams: a table of 512 slots,
// each empty or holding a factory of one graphic class.

#include <functional>
#include <memory>
#include <string>

class TGraphicObject;

struct TGraphicObjectClass {
    std::string Name;
    std::function<std::unique_ptr<TGraphicObject>()> Create;
};

inline constexpr int CADCoreRegistrySize = 512;

void CADCoreRegisterClass(int index, TGraphicObjectClass graphicClass);
int CADCoreFindClassIndex(const std::string& className);
const TGraphicObjectClass& CADCoreFindClassByName(const std::string& className);
const TGraphicObjectClass& CADCoreFindClassByIndex(int index);
// Empties every slot; start-up does this before the shapes register.
void CADCoreClearRegistry();
