#include "organizer/qmxTabSet.h"

#include "classlib/TypInfo.h"

void qmxTabSetStartup()
{
    InitTabsUnit();
    RegisterComponentClass(TqmxTabSet::StaticClass());
}

TqmxTabSet::TqmxTabSet(TComponent* owner) : TTabSet(owner) {}

TqmxTabSet::~TqmxTabSet()
{
    if (notebook_)
        notebook_->RemoveFreeNotification(this);
}

const TClassInfo* TqmxTabSet::ClassInfo() const
{
    return &StaticClass();
}

const TClassInfo& TqmxTabSet::StaticClass()
{
    static const TClassInfo info("TqmxTabSet", &TTabSet::StaticClass(), &NewComponent<TqmxTabSet>,
                                 {
                                     PublishComponent<&TqmxTabSet::Notebook, &TqmxTabSet::SetNotebook>("Notebook"),
                                 });
    return info;
}

void TqmxTabSet::SetNotebook(TNotebook* value)
{
    const int remembered = TabIndex();
    if (notebook_)
        notebook_->RemoveFreeNotification(this);
    notebook_ = value;
    if (notebook_)
        notebook_->FreeNotification(this);
    Tabs()->Clear();
    if (notebook_) {
        for (int i = 0; i < notebook_->PageCount(); ++i) {
            std::string name = notebook_->Pages()->Strings(i);
            for (char& c : name)
                if (c == '<')
                    c = '|';
            Tabs()->Add(name.substr(0, name.find('|')));
        }
    }
    if (remembered >= 0 && remembered < Tabs()->Count())
        SetTabIndex(remembered);
}

void TqmxTabSet::Notification(TComponent* component, TOperation operation)
{
    TTabSet::Notification(component, operation);
    if (operation == TOperation::opRemove && component == notebook_)
        notebook_ = nullptr;
}

void TqmxTabSet::Click()
{
    if (notebook_)
        notebook_->SetPageIndex(TabIndex());
    TTabSet::Click();
}

void TqmxTabSet::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button != mbLeft) {
        TCustomControl::MouseDown(button, shift, x, y);
        return;
    }
    const int index = ItemAtPos(Point(x, y));
    if (index >= 0)
        SetTabIndex(index);
}

void TqmxTabSet::SelectNextTab()
{
    const int count = Tabs()->Count();
    if (count == 0)
        return;
    SetTabIndex(TabIndex() + 1 >= count ? 0 : TabIndex() + 1);
}

void TqmxTabSet::SelectPriorTab()
{
    const int count = Tabs()->Count();
    if (count == 0)
        return;
    SetTabIndex(TabIndex() <= 0 ? count - 1 : TabIndex() - 1);
}
