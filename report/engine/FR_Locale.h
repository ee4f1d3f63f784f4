// TfrLocale: the one source of the engine's texts and bitmaps. Every engine
// text is asked here by numeric id (LoadEngineString): an application may
// supply its own through OnLocalize, otherwise the engine's English table
// answers. Bitmaps are served by resource name and drawn in code.
#pragma once

#include <QMap>
#include <QString>
#include <functional>
#include <memory>

class TBitmap;

class TfrLocale
{
public:
    TfrLocale();
    ~TfrLocale();
    TfrLocale(const TfrLocale&) = delete;
    TfrLocale& operator=(const TfrLocale&) = delete;

    // OnLocalize first (a non-empty text wins), then the engine's table, whose
    // texts are cut to 1023 characters; an unknown id gives an empty text.
    QString LoadStr(int ID);
    // The bitmap of that resource name, kept by the locale; nullptr for a
    // name the engine has no bitmap for.
    const TBitmap* LoadBmp(const QString& Name);

    // Called with the id and an empty text; may store the text to show.
    std::function<void(int StringID, QString& Text)> OnLocalize;

    // Set inside the development environment, which we never run in; no
    // resource module is loaded either, the program's own table serves.
    bool IDEMode() const { return FIDEMode; }

    // The inspector shows localized property names (a designer setting).
    bool LocalizedPropNames = false;

private:
    bool FIDEMode = false;
    QMap<QString, std::shared_ptr<TBitmap>> FBitmaps;
};

// Made on first use; frFreeLocale frees it and the next use makes a new one.
TfrLocale* LocaleInstance();
void frFreeLocale();
