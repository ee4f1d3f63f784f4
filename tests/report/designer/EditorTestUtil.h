// A designer window on a report whose owner holds datasets (Query1 with Name,
// "A.B" and Amount; DM.Query2) and band data sources, for the dialogs that
// list them. Modal windows are answered by a handler per window class.
#pragma once

#include "report/data/DataTestUtil.h"

#include "platform/gui/ModalSeam.h"
#include "platform/gui/TestRender.h"
#include "report/designer/FR_Desgn.h"
#include "report/engine/FR_DBSet.h"
#include "report/engine/FR_Dict.h"
#include "report/engine/FR_Page.h"
#include "TestText.h"

#include <QListWidget>
#include <functional>
#include <map>
#include <memory>
#include <typeindex>

namespace editortest {

class TEditorTest : public datatest::TReportWorld
{
protected:
    void SetUp() override
    {
        TReportWorld::SetUp();
        frRegisterDesigner();
        Report->Pages()->Add();
        auto* Source1 = new TfrDBDataSet(&FormA);
        Source1->setObjectName("frDBDataSet1");
        auto* Source2 = new TfrDBDataSet(&FormA);
        Source2->setObjectName("frDBDataSet2");
        Designer = std::make_unique<TfrDesignerForm>(1);
        frDesigner = Designer.get();
        Designer->resize(900, 640);
        Designer->FormShow();
    }
    void TearDown() override
    {
        Designer.reset();
        frDesigner = nullptr;
        CurPage = nullptr;
        frUnregisterDesigner();
        TReportWorld::TearDown();
    }

    TfrDataDictionary* Dict() const { return Report->Dictionary(); }

    // Answers windows of class T with Act; others are cancelled.
    template <class T>
    void On(std::function<TModalResult(T*)> Act)
    {
        Handlers[typeid(T)] = [Act](TForm* F) { return Act(static_cast<T*>(F)); };
    }
    // Installs the handlers for the lifetime of the result.
    std::unique_ptr<TModalHandlers> Answer()
    {
        return std::make_unique<TModalHandlers>(
            [this](TForm* F) {
                const auto It = Handlers.find(typeid(*F));
                return It == Handlers.end() ? mrCancel : It->second(F);
            },
            [this](const TMessageRequest& M) {
                Messages << M.Text;
                return mrOk;
            });
    }

    // Renders a shown window into TB_IMAGES_DIR when it is set.
    static void Keep(QWidget* W, const QString& Name)
    {
        const QString Dir = QString::fromLocal8Bit(qgetenv("TB_IMAGES_DIR"));
        if (!Dir.isEmpty())
            RenderToPng(W, Dir + u'/' + Name);
    }

    std::unique_ptr<TfrDesignerForm> Designer;
    std::map<std::type_index, std::function<TModalResult(TForm*)>> Handlers;
    QStringList Messages;
};

inline QString Items(const QListWidget* L)
{
    QStringList R;
    for (int i = 0; i < L->count(); ++i)
        R << L->item(i)->text();
    return R.join(u'|');
}

inline void Select(QListWidget* L, const QString& Text)
{
    const auto Found = L->findItems(Text, Qt::MatchExactly);
    L->setCurrentItem(Found.isEmpty() ? nullptr : Found.first());
}

} // namespace editortest
