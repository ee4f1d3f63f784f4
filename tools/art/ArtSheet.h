#pragma once

// A contact sheet of every picture with its file name, for reviewing the art.

#include <QImage>
#include <QString>
#include <vector>

struct TArtSheetEntry
{
    QString FileName;
    QImage Image;
};

// Small pictures are shown Zoom times larger so their detail can be judged.
QImage ArtSheet(const std::vector<TArtSheetEntry>& Entries, int Zoom = 2);
