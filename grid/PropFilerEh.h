// Storage of chosen properties of forms and grids: window bounds and state,
// column widths and column order. Some objects cannot be restored through their
// own properties, so a registry maps a target class to an interceptor class
// whose properties a storage manager saves and loads instead. The grid registers
// its two interceptors when the first grid is made; the form one is registered
// at start-up. No storage manager lives here: this is the contract one uses.
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QObject;
class QWidget;
class TColumnEh;
class TDBGridColumnsEh;
class TForm;

enum TWindowState { wsNormal, wsMinimized, wsMaximized };

class TStoragePropertyInterceptor
{
public:
    explicit TStoragePropertyInterceptor(void* ATarget) : FTarget(ATarget) {}
    virtual ~TStoragePropertyInterceptor() = default;
    TStoragePropertyInterceptor(const TStoragePropertyInterceptor&) = delete;
    TStoragePropertyInterceptor& operator=(const TStoragePropertyInterceptor&) = delete;

    void* Target() const { return FTarget; }
    virtual bool CanStore() const { return true; }
    // The stored properties, in the order they are saved and loaded.
    virtual QStringList PropertyNames() const = 0;
    virtual QString ReadProperty(const QString& Name) const = 0;
    virtual void WriteProperty(const QString& Name, const QString& Value) = 0;
    // Applies what was loaded to the target.
    virtual void AfterLoad() {}

private:
    void* FTarget;
};

// An interceptor class: its name and how it is made for a target.
struct TInterceptorClass
{
    QString ClassName;
    std::function<std::unique_ptr<TStoragePropertyInterceptor>(void* Target)> Create;
};

// Removes every pair equal to this one, then appends it.
void RegisterInterceptor(const QString& TargetClass, const TInterceptorClass& InterceptorClass);
// Removes every pair with both classes equal.
void UnregisterInterceptor(const QString& TargetClass, const QString& InterceptorClassName);
int InterceptorCount();
// The latest interceptor registered for the target class, or none.
const TInterceptorClass* FindInterceptor(const QString& TargetClass);
// Registers the two column interceptors (idempotent).
void RegisterGridInterceptors();

class TFormStoragePropertyInterceptor : public TStoragePropertyInterceptor
{
public:
    explicit TFormStoragePropertyInterceptor(TForm* AForm);

    QStringList PropertyNames() const override;
    QString ReadProperty(const QString& Name) const override;
    void WriteProperty(const QString& Name, const QString& Value) override;
    void AfterLoad() override;

    // The resolution bounds are restored at; the screen's unless a test says otherwise.
    void SetScreenPixelsPerInch(int Value) { FScreenPixelsPerInch = Value; }

private:
    TForm* Form() const;
    QRect NormalBounds() const;

    QString FActiveControl;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    int FPixelsPerInch = 96;
    int FScreenPixelsPerInch;
    TWindowState FWindowState = wsNormal;
    bool FPositionLoaded = false;
};

class TColumnEhPropertyInterceptor : public TStoragePropertyInterceptor
{
public:
    explicit TColumnEhPropertyInterceptor(TColumnEh* AColumn) : TStoragePropertyInterceptor(AColumn) {}

    QStringList PropertyNames() const override { return {QStringLiteral("Width")}; }
    QString ReadProperty(const QString& Name) const override;
    void WriteProperty(const QString& Name, const QString& Value) override;
};

class TColumnsEhPropertyInterceptor : public TStoragePropertyInterceptor
{
public:
    explicit TColumnsEhPropertyInterceptor(TDBGridColumnsEh* AColumns) : TStoragePropertyInterceptor(AColumns) {}

    QStringList PropertyNames() const override { return {QStringLiteral("ColumnsIndex")}; }
    QString ReadProperty(const QString& Name) const override;
    void WriteProperty(const QString& Name, const QString& Value) override;

    // Every column's field name in order, each in double quotes, joined by commas.
    QString ColumnsIndex() const;
    // Puts the named columns first, in the order named; others follow in theirs.
    void SetColumnsIndex(const QString& Value);

private:
    TDBGridColumnsEh* Columns() const { return static_cast<TDBGridColumnsEh*>(Target()); }
};

// Splits delimited text: Delimiter and unquoted blanks separate items, Quote
// encloses an item (a doubled quote inside stands for one).
QStringList SplitDelimitedText(const QString& Text, QChar Delimiter, QChar Quote);
