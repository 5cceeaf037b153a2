#pragma once
// A designer panel: a filled rectangle with a one-pixel bevel and one line of text,
// centred and cut off at the panel's edges.

#include <QLabel>

enum class TBevel
{
    None,
    Raised,
    Lowered
};

class TPanel : public QLabel
{
    Q_OBJECT
public:
    explicit TPanel(QWidget *parent = nullptr);

    void SetBevel(TBevel bevel);

    // Geometry is fixed by the design; the text never asks for more room.
    QSize sizeHint() const override { return size(); }
    QSize minimumSizeHint() const override { return {0, 0}; }
};
