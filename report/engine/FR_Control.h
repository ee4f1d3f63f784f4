// The base of dialog-page controls: wraps a platform control that a concrete
// class creates and owns. Written as an add-in record with its class name; its
// record is the common part only. The control is drawn into the page by
// rendering the widget, so a dialog page looks on paper as it will on screen.
#pragma once

#include "report/engine/FR_View.h"

#include <QPointer>

class QWidget;

class TfrControl : public TfrView
{
public:
    TfrControl();
    ~TfrControl() override;

    QString ClassName() const override { return QStringLiteral("TfrControl"); }

    // The wrapped control (owned by the concrete class); nullptr when none.
    QWidget* Control() const { return FControl; }
    // Gives the control Parent and the view's bounds.
    void PlaceControl(QWidget* Parent);

    // The control at the view's size, painted into the page.
    void Draw(TCanvas* ACanvas) override;
    // Renders the control, without showing any window, on a button-face
    // ground of the view's size plus one, at the view's place.
    virtual void PaintControl();
    void DefinePopupMenu(TPopupMenu* Popup) override { (void)Popup; }

    void SetPropValue(const QString& Name, const Variant& Value) override;
    void RegisterProperties() override;

protected:
    void SetControl(QWidget* Value) { FControl = Value; }

private:
    QPointer<QWidget> FControl;
};
