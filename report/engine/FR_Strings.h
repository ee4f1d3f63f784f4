// The engine's own English texts by numeric id, in ascending id order; read
// through LoadEngineString.
#pragma once

struct TfrEngineString
{
    int Id;
    const char* Text;   // UTF-8
};

extern const TfrEngineString frEngineStringTable[];
extern const int frEngineStringCount;
