// Sets the option language for a scope and restores it afterwards.
#pragma once

#include "shell/options.h"

struct LanguageScope {
    explicit LanguageScope(int32_t language) : saved(g_Options.Language) { g_Options.Language = language; }
    ~LanguageScope() { g_Options.Language = saved; }
    int32_t saved;
};
