// Access to the built-in colour schemes.
#include "builtin_schemes.h"

void CDIB::GetBuildInColorName(char** names, int /*reserved*/) {
    if (!names) return;
    for (int i = 0; i < kBuiltInCount; ++i) names[i] = g_builtInNames[i];
}

unsigned char* CDIB::GetBuildInColorTable() { return g_builtInTables; }
