// The run-time band a band view becomes while a report is prepared. Views read
// its rectangle and type in print state; the page and band-engine units add
// the rest (links, data source, accumulators) and make and free the bands.
#pragma once

#include <cstdint>

class TfrBandView;

class TfrBand
{
public:
    TfrBandView* View = nullptr;   // band view it was built from
    int X = 0;                     // rectangle on the page being formed
    int Y = 0;
    int DX = 0;
    int DY = 0;
    uint8_t Typ = 22;              // band type, 22 "None" until built
};
