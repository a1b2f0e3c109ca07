// TqmxTabSet: a tab set that takes its tabs from a notebook's pages and
// switches the notebook's page when a tab is chosen.
#pragma once

#include "classlib/ExtCtrls.h"
#include "classlib/Tabs.h"

// Registers the unit's component class (and the tab set's) for the form
// reader.
void qmxTabSetStartup();

class TqmxTabSet : public TTabSet {
public:
    explicit TqmxTabSet(TComponent* owner);
    ~TqmxTabSet() override;

    TNotebook* Notebook() const { return notebook_; }
    // One tab per page, in page order, named by the page's name up to its
    // first "|" or "<"; the current tab index is kept when it still exists.
    void SetNotebook(TNotebook* value);

    // The next tab, after the last the first; the previous one likewise.
    virtual void SelectNextTab();
    virtual void SelectPriorTab();

    void Click() override;
    const TClassInfo* ClassInfo() const override;
    static const TClassInfo& StaticClass();

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    TNotebook* notebook_ = nullptr;
};
