// Helpers shared by the band engine's units (FR_BandEngine, FR_BandDraw,
// FR_BandCross); no other layer includes this.
#pragma once

class TfrBand;
class Variant;
class TfrEMFPages;
class TfrPage;

namespace frengine {

// The running report was asked to stop.
bool Stopped();
bool IsDataBand(int Typ);
// The prepared pages forming writes into: the master report's.
TfrEMFPages* PreparedPages();
int PreparedCount();
void AddPreparedPage(const TfrPage* Page);
// Begin and end band, end page: on the current report and, when different,
// the master report.
void FireBand(bool Begin, TfrBand* Band);
void FireEndPage(int Page);
// Raises EPageTooSmall when the page leaves no height between its bounds.
void CheckUsableHeight(const TfrPage* Page);
// The data band whose groups Group belongs to; nullptr when none.
TfrBand* GroupDataBand(const TfrPage* Page, const TfrBand* Group);
// Group's condition evaluated on the record Data stands on: a field named
// without its dataset is read from Data's source, wherever the walk is.
Variant GroupConditionValue(TfrBand* Data, const TfrBand* Group);

} // namespace frengine
