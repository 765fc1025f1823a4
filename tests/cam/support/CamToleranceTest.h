#pragma once

#include <gtest/gtest.h>

#include "cad/base/Settings.h"

// Runs each test with the CAM tolerances its expectations are written for,
// and puts back afterwards the ones it found, so that a test that changes a
// tolerance does not change the next test.
class CamToleranceTest : public testing::Test {
protected:
    void SetUp() override
    {
        SavedSystemTol = SystemTol;
        SavedChainTol = ChainTol;
        SavedCornerRound = CornerRound;
        SystemTol = 0.0001;
        ChainTol = 0.001;
        CornerRound = 1.0;
    }
    void TearDown() override
    {
        SystemTol = SavedSystemTol;
        ChainTol = SavedChainTol;
        CornerRound = SavedCornerRound;
    }

private:
    double SavedSystemTol = 0.0;
    double SavedChainTol = 0.0;
    double SavedCornerRound = 0.0;
};
