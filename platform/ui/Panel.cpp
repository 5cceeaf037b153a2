#include "Panel.h"

TPanel::TPanel(QWidget *parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    setWordWrap(false);
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
    SetBevel(TBevel::Raised);
}

void TPanel::SetBevel(TBevel bevel)
{
    switch (bevel) {
    case TBevel::None:
        setFrameStyle(QFrame::NoFrame);
        break;
    case TBevel::Raised:
        setFrameStyle(QFrame::Panel | QFrame::Raised);
        break;
    case TBevel::Lowered:
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        break;
    }
    setLineWidth(1);
}
