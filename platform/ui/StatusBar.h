#pragma once
// A status bar with one sunken text part over its whole width and a size grip at the
// right. It keeps itself along the bottom edge of its parent at the full width.

#include <QWidget>

class QLabel;
class QSizeGrip;

class TStatusBar : public QWidget
{
    Q_OBJECT
public:
    explicit TStatusBar(QWidget *parent);

    QString SimpleText() const;
    // Replaces the whole text; writing the text already shown changes nothing.
    void SetSimpleText(const QString &text);

signals:
    void SimpleTextChanged(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void FollowParent();

    QLabel *FPart = nullptr;
    QSizeGrip *FGrip = nullptr;
};
