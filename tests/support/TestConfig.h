#pragma once
// The program's settings (its one global, Config) as a test has them: made afresh, nothing read
// from the user's file, and let go by the test that made them, so that none is left to the next.
#include "settings/TConfig.h"

inline void NewTestConfig()
{
    delete Config;
    Config = new TConfig(false);
}

inline void DropTestConfig()
{
    delete Config;
    Config = nullptr;
}
