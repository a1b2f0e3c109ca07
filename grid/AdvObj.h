// Unit AdvObj: the grid's small helpers. TArrowWindow is the arrow-shaped
// pop-up that marks where a dragged row or column will land; TIntList is a
// list that keeps two integers given at its making.
#pragma once

#include "classlib/ExtCtrls.h"
#include "classlib/Lists.h"

class TArrowWindow : public TPanel {
public:
    // Direction: 0 up, 1 down, 2 right, 3 left.
    TArrowWindow(TComponent* grid, int direction);
    int Direction() const { return direction_; }
    void Loaded() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    int direction_;
};

class TIntList : public TList {
public:
    TIntList(int first, int second) : first_(first), second_(second) {}
    int First() const { return first_; }
    int Second() const { return second_; }

private:
    int first_;
    int second_;
};
