#pragma once

// Every picture the program loads by file name, with the code that draws it.
// File names are relative to the program folder, with "/" separators.

#include <QImage>
#include <QString>
#include <functional>
#include <vector>

struct TArtPicture
{
    QString FileName;
    std::function<QImage()> Draw;
};

std::vector<TArtPicture> ArtCatalogue();
