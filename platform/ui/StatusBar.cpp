#include "StatusBar.h"

#include <QEvent>
#include <QLabel>
#include <QSizeGrip>

namespace {
constexpr int kPartTopGap = 2; // pixels between the bar's top edge and its sunken part
} // namespace

TStatusBar::TStatusBar(QWidget *parent)
    : QWidget(parent), FPart(new QLabel(this)), FGrip(new QSizeGrip(this))
{
    setFocusPolicy(Qt::NoFocus);
    FPart->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    FPart->setLineWidth(1);
    FPart->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    FPart->setTextFormat(Qt::PlainText);
    FPart->setWordWrap(false);
    FPart->setIndent(2);
    // Long texts are cut at the right end instead of widening anything.
    FPart->setMinimumSize(0, 0);
    FPart->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    if (parent)
        parent->installEventFilter(this);
}

QString TStatusBar::SimpleText() const
{
    return FPart->text();
}

void TStatusBar::SetSimpleText(const QString &text)
{
    if (FPart->text() == text)
        return;
    FPart->setText(text);
    emit SimpleTextChanged(text);
}

bool TStatusBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        FollowParent();
    return QWidget::eventFilter(watched, event);
}

void TStatusBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const QSize grip = FGrip->sizeHint();
    FPart->setGeometry(0, kPartTopGap, width(), height() - kPartTopGap);
    FGrip->setGeometry(width() - grip.width(), height() - grip.height(), grip.width(),
                       grip.height());
    FGrip->raise();
}

void TStatusBar::FollowParent()
{
    const QWidget *parent = parentWidget();
    setGeometry(0, parent->height() - height(), parent->width(), height());
}
