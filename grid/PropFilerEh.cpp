#include "grid/PropFilerEh.h"

#include "grid/DBGridEh.h"
#include "grid/DBGridEhColumns.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Screen.h"
#include "platform/rtl/SysUtils.h"

#include <utility>
#include <vector>

namespace {

struct TInterceptorEntry
{
    QString TargetClass;
    TInterceptorClass Interceptor;
};

std::vector<TInterceptorEntry>& Registry()
{
    static std::vector<TInterceptorEntry> Entries;
    return Entries;
}

const QString FormClass = QStringLiteral("TForm");
const QString ColumnClass = QStringLiteral("TColumnEh");
const QString ColumnsClass = QStringLiteral("TDBGridColumnsEh");

} // namespace

// ---------------------------------------------------------------- registry

void RegisterInterceptor(const QString& TargetClass, const TInterceptorClass& InterceptorClass)
{
    UnregisterInterceptor(TargetClass, InterceptorClass.ClassName);
    Registry().push_back({TargetClass, InterceptorClass});
}

void UnregisterInterceptor(const QString& TargetClass, const QString& InterceptorClassName)
{
    std::erase_if(Registry(), [&](const TInterceptorEntry& E) {
        return E.TargetClass == TargetClass && E.Interceptor.ClassName == InterceptorClassName;
    });
}

int InterceptorCount()
{
    return int(Registry().size());
}

const TInterceptorClass* FindInterceptor(const QString& TargetClass)
{
    const auto& Entries = Registry();
    for (auto It = Entries.rbegin(); It != Entries.rend(); ++It)
        if (It->TargetClass == TargetClass)
            return &It->Interceptor;
    return nullptr;
}

// The form interceptor is this unit's own, there from start-up; the grid
// registers the two column ones when the first grid is made.
const bool FormInterceptorRegistered = [] {
    RegisterInterceptor(FormClass, {QStringLiteral("TFormStoragePropertyInterceptor"), [](void* Target) {
        return std::make_unique<TFormStoragePropertyInterceptor>(static_cast<TForm*>(Target));
    }});
    return true;
}();

void RegisterGridInterceptors()
{
    if (!FindInterceptor(ColumnClass))
        RegisterInterceptor(ColumnClass, {QStringLiteral("TColumnEhPropertyInterceptor"), [](void* Target) {
            return std::make_unique<TColumnEhPropertyInterceptor>(static_cast<TColumnEh*>(Target));
        }});
    if (!FindInterceptor(ColumnsClass))
        RegisterInterceptor(ColumnsClass, {QStringLiteral("TColumnsEhPropertyInterceptor"), [](void* Target) {
            return std::make_unique<TColumnsEhPropertyInterceptor>(static_cast<TDBGridColumnsEh*>(Target));
        }});
}

// ---------------------------------------------------------------- form

TFormStoragePropertyInterceptor::TFormStoragePropertyInterceptor(TForm* AForm)
    : TStoragePropertyInterceptor(AForm), FScreenPixelsPerInch(Screen()->PixelsPerInch())
{
    const QRect R = NormalBounds();
    FLeft = R.left();
    FTop = R.top();
    FWidth = R.width();
    FHeight = R.height();
    FPixelsPerInch = FScreenPixelsPerInch;
    if (AForm) {
        const Qt::WindowStates S = AForm->windowState();
        FWindowState = S & Qt::WindowMaximized ? wsMaximized : (S & Qt::WindowMinimized ? wsMinimized : wsNormal);
        if (AForm->ActiveControl())
            FActiveControl = AForm->ActiveControl()->objectName();
    }
}

TForm* TFormStoragePropertyInterceptor::Form() const
{
    return static_cast<TForm*>(Target());
}

QRect TFormStoragePropertyInterceptor::NormalBounds() const
{
    TForm* F = Form();
    if (!F)
        return QRect();
    if (F->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))
        return F->normalGeometry();
    return QRect(F->Left(), F->Top(), F->Width(), F->Height());
}

QStringList TFormStoragePropertyInterceptor::PropertyNames() const
{
    return {QStringLiteral("ActiveControl"), QStringLiteral("Height"), QStringLiteral("Left"),
            QStringLiteral("PixelsPerInch"), QStringLiteral("Top"), QStringLiteral("Width"),
            QStringLiteral("WindowState")};
}

QString TFormStoragePropertyInterceptor::ReadProperty(const QString& Name) const
{
    const QRect R = NormalBounds();
    if (Name == u"Left") return QString::number(R.left());
    if (Name == u"Top") return QString::number(R.top());
    if (Name == u"Width") return QString::number(R.width());
    if (Name == u"Height") return QString::number(R.height());
    if (Name == u"PixelsPerInch") return QString::number(FPixelsPerInch);
    if (Name == u"WindowState") return QString::number(int(FWindowState));
    if (Name == u"ActiveControl") return FActiveControl;
    return QString();
}

void TFormStoragePropertyInterceptor::WriteProperty(const QString& Name, const QString& Value)
{
    bool Ok = false;
    const int N = Value.toInt(&Ok);
    if (Name == u"ActiveControl") {
        FActiveControl = Value;
        return;
    }
    if (!Ok)
        return; // a damaged value keeps what the form has
    if (Name == u"Left") { FLeft = N; FPositionLoaded = true; }
    else if (Name == u"Top") { FTop = N; FPositionLoaded = true; }
    else if (Name == u"Width") FWidth = N;
    else if (Name == u"Height") FHeight = N;
    else if (Name == u"PixelsPerInch" && N > 0) FPixelsPerInch = N;
    else if (Name == u"WindowState" && N >= wsNormal && N <= wsMaximized) FWindowState = TWindowState(N);
}

void TFormStoragePropertyInterceptor::AfterLoad()
{
    TForm* F = Form();
    if (!F)
        return;
    // Bounds were stored at another resolution: keep their size in inches.
    const int L = MulDiv(FLeft, FScreenPixelsPerInch, FPixelsPerInch);
    const int T = MulDiv(FTop, FScreenPixelsPerInch, FPixelsPerInch);
    const int W = MulDiv(FWidth, FScreenPixelsPerInch, FPixelsPerInch);
    const int H = MulDiv(FHeight, FScreenPixelsPerInch, FPixelsPerInch);
    F->setWindowState(Qt::WindowNoState);
    F->SetBounds(L, T, W, H);
    if (FWindowState == wsMaximized)
        F->setWindowState(Qt::WindowMaximized);
    else if (FWindowState == wsMinimized)
        F->setWindowState(Qt::WindowMinimized);
    if (!FActiveControl.isEmpty())
        if (auto* Control = F->findChild<QWidget*>(FActiveControl))
            F->SetActiveControl(Control);
    if (FPositionLoaded && (F->Position() == poScreenCenter || F->Position() == poDesktopCenter))
        F->SetPosition(poDesigned); // so that the loaded place holds
}

// ---------------------------------------------------------------- columns

QString TColumnEhPropertyInterceptor::ReadProperty(const QString& Name) const
{
    const auto* Column = static_cast<const TColumnEh*>(Target());
    return Name == u"Width" ? QString::number(Column->Width()) : QString();
}

void TColumnEhPropertyInterceptor::WriteProperty(const QString& Name, const QString& Value)
{
    auto* Column = static_cast<TColumnEh*>(Target());
    bool Ok = false;
    const int Width = Value.toInt(&Ok);
    if (Name != u"Width" || !Ok || Width < 0)
        return;
    TCustomDBGridEh* Grid = Column->Grid();
    if (Grid && Grid->AutoFitColWidths()) {
        Column->SetLayoutWidth(Width);
        Column->Changed();
    } else {
        Column->SetWidth(Width);
    }
}

QString TColumnsEhPropertyInterceptor::ReadProperty(const QString& Name) const
{
    return Name == u"ColumnsIndex" ? ColumnsIndex() : QString();
}

void TColumnsEhPropertyInterceptor::WriteProperty(const QString& Name, const QString& Value)
{
    if (Name == u"ColumnsIndex")
        SetColumnsIndex(Value);
}

QString TColumnsEhPropertyInterceptor::ColumnsIndex() const
{
    QStringList Names;
    for (int i = 0; i < Columns()->Count(); ++i)
        Names << AnsiQuotedStr(Columns()->Items(i)->FieldName(), u'"');
    return Names.join(u',');
}

void TColumnsEhPropertyInterceptor::SetColumnsIndex(const QString& Value)
{
    TDBGridColumnsEh* Cols = Columns();
    const QStringList Names = SplitDelimitedText(Value, u',', u'"');
    Cols->BeginUpdate();
    int Place = 0;
    for (const QString& Name : Names) {
        for (int i = Place; i < Cols->Count(); ++i) {
            if (AnsiCompareStr(Cols->Items(i)->FieldName(), Name) == 0) {
                // The column's own setter: a default column takes its field along,
                // or the next layout would put it back in the fields' order.
                Cols->Items(i)->SetIndex(Place++);
                break;
            }
        }
    }
    Cols->EndUpdate();
}

QStringList SplitDelimitedText(const QString& Text, QChar Delimiter, QChar Quote)
{
    QStringList Items;
    const int Length = int(Text.size());
    int i = 0;
    auto SkipBlanks = [&] {
        while (i < Length && Text[i] <= u' ')
            ++i;
    };
    SkipBlanks();
    while (i < Length) {
        QString Item;
        if (Text[i] == Quote) {
            ++i;
            while (i < Length) {
                if (Text[i] == Quote) {
                    if (i + 1 < Length && Text[i + 1] == Quote) {
                        Item += Quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                Item += Text[i++];
            }
        } else {
            while (i < Length && Text[i] > u' ' && Text[i] != Delimiter)
                Item += Text[i++];
        }
        Items << Item;
        SkipBlanks();
        if (i < Length && Text[i] == Delimiter) {
            ++i;
            SkipBlanks();
            if (i >= Length)
                Items << QString(); // a trailing delimiter ends with an empty item
        }
    }
    return Items;
}
