#include "ArtCatalogue.h"

#include "ArtAnalysis.h"
#include "ArtBanners.h"
#include "ArtFaces.h"
#include "ArtIcons.h"
#include "ArtPaint.h"
#include "ArtPalette.h"

using namespace ArtPalette;

namespace {

void AddLogin(std::vector<TArtPicture>& List)
{
    using ArtBanners::TUpKind;
    List.push_back({"Res/Title.bmp", [] { return ArtPaint::Plain(ArtBanners::TitleBanner()); }});
    List.push_back({"Res/ColorTitle.bmp", [] { return ArtBanners::TitleBanner(); }});
    const std::pair<const char*, TUpKind> Ups[] = {
        {"Up1", TUpKind::OnlineService}, {"Up2", TUpKind::ProductPage}, {"Up4", TUpKind::Leave}};
    for (const auto& [Name, Kind] : Ups) {
        const TUpKind K = Kind;
        List.push_back({QStringLiteral("Res/%1.bmp").arg(QLatin1String(Name)),
                        [K] { return ArtPaint::Plain(ArtBanners::UpPicture(K)); }});
        List.push_back({QStringLiteral("Res/Color%1.bmp").arg(QLatin1String(Name)),
                        [K] { return ArtBanners::UpPicture(K); }});
    }
}

void AddMainWindow(std::vector<TArtPicture>& List)
{
    const std::pair<const char*, QColor> Roles[] = {
        {"BlueFish", Blue}, {"YellowFish", Yellow}, {"OrangeFish", Orange}, {"GreenFish", Green}};
    for (const auto& [Name, Accent] : Roles) {
        const QColor C = Accent;
        List.push_back({QStringLiteral("Res/%1.bmp").arg(QLatin1String(Name)), [C] { return ArtIcons::RoleFish(C); }});
    }
    List.push_back({"Res/Money0.ico", [] { return ArtIcons::CardIcon(Mist, 0); }});
    const std::pair<const char*, QColor> Pages[] = {
        {"Blue", Blue}, {"Purple", Purple}, {"Green", Green}, {"Yellow", Yellow}};
    for (const auto& [Name, Accent] : Pages)
        for (int Level = 1; Level <= 3; ++Level) {
            const QColor C = Accent;
            List.push_back({QStringLiteral("Res/%1%2.ico").arg(QLatin1String(Name), QString(Level, QLatin1Char('+'))),
                            [C, Level] { return ArtIcons::CardIcon(C, Level); }});
        }
}

void AddWindows(std::vector<TArtPicture>& List)
{
    struct TDoc { const char* Kind; const char* Mark; QColor Accent; };
    const TDoc Docs[] = {{"Sell", "售", Blue}, {"Buy", "购", Purple}, {"Get", "收", Green}, {"Pay", "付", Red}};
    for (const TDoc& D : Docs)
        for (bool Edit : {false, true}) {
            const QString Mark = QString::fromUtf8(D.Mark);
            const QColor C = D.Accent;
            List.push_back({QStringLiteral("Res/%1%2.bmp").arg(Edit ? "Edit" : "New", QLatin1String(D.Kind)),
                            [Mark, C, Edit] { return ArtIcons::DocumentPicture(Mark, C, Edit); }});
        }
    List.push_back({"Res/RedCustomer64.ico", [] { return ArtIcons::CustomerIcon(Red); }});
    List.push_back({"Res/BlueCustomer64.ico", [] { return ArtIcons::CustomerIcon(Blue); }});
    List.push_back({"Res/BluePhone.bmp", [] { return ArtIcons::PhonePicture(Blue); }});
    List.push_back({"Res/RedPhone.bmp", [] { return ArtIcons::PhonePicture(Red); }});
}

} // namespace

std::vector<TArtPicture> ArtCatalogue()
{
    std::vector<TArtPicture> List;
    AddLogin(List);
    AddMainWindow(List);
    AddWindows(List);
    for (int N = 1; N <= ArtFaces::FaceCount; ++N)
        List.push_back({QStringLiteral("Faces/%1.bmp").arg(N), [N] { return ArtFaces::Face(N); }});
    // The tall collapse strips go last so the review sheet stays compact.
    List.push_back({"Res/Analysis.bmp", [] { return ArtAnalysis::Diagram(); }});
    List.push_back({"Res/LeftBar.bmp", [] { return ArtBanners::CollapseStrip(true); }});
    List.push_back({"Res/RightBar.bmp", [] { return ArtBanners::CollapseStrip(false); }});
    return List;
}
